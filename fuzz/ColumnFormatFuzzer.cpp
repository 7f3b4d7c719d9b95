// Arbitrary bytes as a column format.
#include "devicelist/ColumnFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view format(reinterpret_cast<const char*>(data), size);
    const auto columns = devicelist::ParseColumnFormat(format);
    // Every column consumes one comma, and no heading holds one.
    if (columns.size() > static_cast<std::size_t>(std::count(format.begin(), format.end(), ',')))
        std::abort();
    for (const auto& column : columns) {
        if (column.heading.find(',') != std::string::npos)
            std::abort();
    }
    return 0;
}
