#include "devicelist/StoredResponse.h"

namespace devicelist {

const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac) {
    for (const ZOVA_ModuleScanResponseType& response : responses) {
        if (base::MacFrom(response.abMacAddr) == mac)
            return &response;
    }
    return nullptr;
}

}  // namespace devicelist
