// atoi's reading of a number, without its undefined overflow.
#ifndef VANTREL_DEVICELIST_LEADINGINT_H
#define VANTREL_DEVICELIST_LEADINGINT_H

#include <string_view>

namespace devicelist {

// Reads like atoi: leading white space, one optional sign, then decimal digits
// up to the first other character; 0 without digits. Values beyond the range
// of int saturate at INT_MAX or INT_MIN.
int ReadLeadingInt(std::string_view text);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_LEADINGINT_H
