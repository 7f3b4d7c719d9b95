// A scan response from arbitrary bytes (zero-filled when short) through the
// row texts.
#include "zova/ResponseRow.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ZOVA_ModuleScanResponseType response{};
    const std::size_t recordBytes = size < sizeof response ? size : sizeof response;
    std::memcpy(&response, data, recordBytes);

    const zova::ResponseRow row = zova::BuildResponseRow(response);
    if (row.texts[5].size() > sizeof response.szType)
        std::abort();
    // A shown row's MAC text is the MAC as everything else writes it.
    if (row.shown &&
        row.texts[zova::kMacColumn] != base::MacText(base::MacFrom(response.abMacAddr)))
        std::abort();
    return 0;
}
