#include "devicelist/ColumnSpec.h"

#include "devicelist/LeadingInt.h"

namespace devicelist {

std::vector<ColumnSpec> ParseColumnSpec(std::string_view spec) {
    std::vector<ColumnSpec> columns;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = spec.find(',', pos);
        if (comma == std::string_view::npos)
            return columns;
        const std::size_t widthStart = comma + 1;
        const std::size_t semicolon = spec.find(';', widthStart);
        const std::size_t widthEnd = semicolon == std::string_view::npos ? spec.size() : semicolon;
        columns.push_back({std::string(spec.substr(pos, comma - pos)),
                           ReadLeadingInt(spec.substr(widthStart, widthEnd - widthStart))});
        if (widthEnd == spec.size())
            return columns;
        pos = widthEnd + 1;
    }
}

}  // namespace devicelist
