// Arbitrary bytes as a column spec.
#include "devicelist/ColumnSpec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view spec(reinterpret_cast<const char*>(data), size);
    const auto columns = devicelist::ParseColumnSpec(spec);
    // Every column consumes one comma, and no heading holds one.
    if (columns.size() > static_cast<std::size_t>(std::count(spec.begin(), spec.end(), ',')))
        std::abort();
    for (const auto& column : columns) {
        if (column.heading.find(',') != std::string::npos)
            std::abort();
    }
    return 0;
}
