// The column format of the device list: "Heading,width;Heading,width;...".
#ifndef VANTREL_DEVICELIST_COLUMNFORMAT_H
#define VANTREL_DEVICELIST_COLUMNFORMAT_H

#include <string>
#include <string_view>
#include <vector>

namespace devicelist {

struct ColumnFormat {
    std::string heading;  // may be empty and may contain ';'
    int width;            // pixels; 0 when the width text has no digits
};

// The columns of a format, in order. The parse follows the commas: each heading
// runs from the current position to the next ',', its width from there to the
// next ';' (read like atoi, saturating instead of overflowing). Text after
// the last comma-bearing entry gives no column. The list inserts the columns
// in this order and stops at the first one it refuses.
std::vector<ColumnFormat> ParseColumnFormat(std::string_view format);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_COLUMNFORMAT_H
