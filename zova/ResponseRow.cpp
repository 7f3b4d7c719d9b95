#include "zova/ResponseRow.h"

namespace zova {

ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response) {
    ResponseRow row;
    for (std::size_t i = 0; i < kWindowColumns; ++i)
        row.texts[i] = ColumnText(kColumns[i], response);
    row.shown = response.bMacAddrValid != 0;
    return row;
}

const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac) {
    for (const ZOVA_ModuleScanResponseType& response : responses) {
        if (base::MacFrom(response.abMacAddr) == mac)
            return &response;
    }
    return nullptr;
}

}  // namespace zova
