#include "zova/ResponseRow.h"

#include "base/Text.h"

#include <cstring>
#include <string_view>

namespace zova {

namespace {

// One "%x" conversion at `pos`: white space, an optional sign, an optional
// "0x", then hex digits. Wraps modulo 2^32 where sscanf's overflow would be
// undefined; only the low byte is used.
bool ReadHexNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
    const bool negative = base::SkipSpaceAndSign(text, pos);
    const std::string_view rest = text.substr(pos);
    if (rest.size() >= 3 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
        base::HexDigit(rest[2]) >= 0)
        pos += 2;
    const std::size_t start = pos;
    value = 0;
    for (; pos < text.size() && base::HexDigit(text[pos]) >= 0; ++pos)
        value = (value << 4) | static_cast<std::uint32_t>(base::HexDigit(text[pos]));
    if (negative)
        value = 0u - value;
    return pos > start;
}

}  // namespace

ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response) {
    ResponseRow row;
    for (std::size_t i = 0; i < kWindowColumns; ++i)
        row.texts[i] = ColumnText(kColumns[i], response);
    row.shown = response.bMacAddrValid != 0;
    return row;
}

bool SameMac(const std::uint8_t (&a)[kMacLength], const std::uint8_t (&b)[kMacLength]) {
    return std::memcmp(a, b, kMacLength) == 0;
}

bool ParseMacText(const char* text, base::Mac& mac) {
    // No more than the list's 18-byte cell buffer holds.
    std::size_t length = 0;
    while (length < 17 && text[length] != '\0')
        ++length;
    const std::string_view cell(text, length);

    base::Mac parsed;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        if (i > 0) {
            if (pos >= cell.size() || cell[pos] != '-')
                return false;
            ++pos;
        }
        std::uint32_t value = 0;
        if (!ReadHexNumber(cell, pos, value))
            return false;
        parsed[i] = static_cast<std::uint8_t>(value & 0xFFu);
    }
    mac = parsed;
    return true;
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
