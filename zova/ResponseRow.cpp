#include "zova/ResponseRow.h"

#include "base/Text.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace zova {

namespace {

const char kNotReported[] = "N/A";

std::string VersionText(unsigned major, unsigned minor, unsigned build) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u.%u", major, minor, build);
    return text;
}

// The field comes off the network: it need not hold a terminator.
std::string TypeText(const char (&field)[128]) {
    return std::string(base::FieldText(field));
}

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
    auto& t = row.texts;
    t[0] = response.bIpAddrValid ? base::Ipv4Text(response.dwIpAddr) : kNotReported;
    t[1] = response.bSubnetMaskValid ? base::Ipv4Text(response.dwSubnetMask) : kNotReported;
    t[2] = response.bGatewayValid ? base::Ipv4Text(response.dwGateway) : kNotReported;
    t[3] = !response.bDhcpValid ? kNotReported : response.bDhcpOn == 1 ? "On" : "Off";
    t[4] = response.bFwVersionValid
               ? VersionText(response.bFwVersionMajor, response.bFwVersionMinor, response.wFwBuild)
               : kNotReported;
    t[5] = response.bTypeValid ? TypeText(response.szType) : kNotReported;
    t[kMacColumn] =
        response.bMacAddrValid ? base::MacText(base::MacFrom(response.abMacAddr)) : kNotReported;
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
