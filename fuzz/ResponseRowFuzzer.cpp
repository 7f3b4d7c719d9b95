// A scan response from arbitrary bytes (zero-filled when short) through the
// row texts; the bytes after the record are read back as a MAC text.
#include "zova/ResponseRow.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ZOVA_ModuleScanResponseType response{};
    const std::size_t recordBytes = size < sizeof response ? size : sizeof response;
    std::memcpy(&response, data, recordBytes);

    const zova::ResponseRow row = zova::BuildResponseRow(response);
    if (row.texts[5].size() > sizeof response.szType)
        std::abort();
    // A shown row's MAC text must find its response again.
    if (row.shown) {
        base::Mac mac;
        if (!zova::ParseMacText(row.texts[zova::kMacColumn].c_str(), mac) ||
            mac != base::MacFrom(response.abMacAddr))
            std::abort();
    }

    // Exactly sized, so a read past the terminator is caught.
    std::vector<char> text(data + recordBytes, data + size);
    text.push_back('\0');
    base::Mac mac{};
    zova::ParseMacText(text.data(), mac);
    return 0;
}
