#include "devicelist/ColumnFormat.h"

#include "base/Text.h"

namespace devicelist {

std::vector<ColumnFormat> ParseColumnFormat(std::string_view format) {
    std::vector<ColumnFormat> columns;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = format.find(',', pos);
        if (comma == std::string_view::npos)
            return columns;
        const std::size_t widthStart = comma + 1;
        const std::size_t semicolon = format.find(';', widthStart);
        const std::size_t widthEnd =
            semicolon == std::string_view::npos ? format.size() : semicolon;
        columns.push_back({std::string(format.substr(pos, comma - pos)),
                           base::ParseDecimal(format.substr(widthStart, widthEnd - widthStart))});
        if (widthEnd == format.size())
            return columns;
        pos = widthEnd + 1;
    }
}

}  // namespace devicelist
