// Small text helpers that the tool, the library, the simulator and the
// console program share. Fields of the device records and of the dialogs are
// fixed-size char arrays that need not hold a terminator; these never read
// past them.
#ifndef VANTREL_BASE_TEXT_H
#define VANTREL_BASE_TEXT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace base {

// The white space of the C locale: ' ', '\t', '\n', '\v', '\f' and '\r'.
constexpr bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value of a hex digit in either case, or -1 for any other character.
constexpr int HexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// Moves pos past white space and then one '+' or '-'; true when that sign
// was '-'.
bool SkipSpaceAndSign(std::string_view text, std::size_t& pos);

// Reads as atoi does: white space, one optional sign, then decimal digits up
// to the first other character; 0 without digits. Values beyond the range of
// int saturate at INT_MAX or INT_MIN instead of overflowing.
int ParseDecimal(std::string_view text);

// A count, a port or a time as a person types it: one or more decimal digits
// and nothing else (no sign, no blanks), at most max.
std::optional<std::uint32_t> ParseUnsigned(std::string_view text, std::uint32_t max);

// text without the white space of the C locale at either end.
std::string_view Trimmed(std::string_view text);

// The text of size bytes at field: up to the first NUL, or all of them when
// there is none.
std::string_view BoundedText(const char* field, std::size_t size);

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return BoundedText(field, N);
}

// Copies text into field as strncpy does (at most N bytes of text are read,
// the rest of the field is zeroed) and always ends the field with a NUL, so
// at most N - 1 characters arrive.
template <std::size_t N>
void CopyToField(char (&field)[N], const char* text) {
    std::strncpy(field, text, N);
    field[N - 1] = '\0';
}

}  // namespace base

#endif  // VANTREL_BASE_TEXT_H
