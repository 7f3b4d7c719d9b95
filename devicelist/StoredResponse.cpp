#include "devicelist/StoredResponse.h"

#include "zova/ResponseRow.h"

namespace devicelist {

const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const std::uint8_t (&mac)[6]) {
    for (const ZOVA_ModuleScanResponseType& response : responses) {
        if (zova::SameMac(response.abMacAddr, mac))
            return &response;
    }
    return nullptr;
}

}  // namespace devicelist
