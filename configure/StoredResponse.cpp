#include "configure/StoredResponse.h"

#include "zova/ResponseRow.h"

const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const std::uint8_t (&mac)[6]) {
    for (const ZOVA_ModuleScanResponseType& response : responses) {
        if (zova::SameMac(response.abMacAddr, mac))
            return &response;
    }
    return nullptr;
}
