#include "zova/ResponseRow.h"

#include "framework/Text.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace zova {

namespace {

const char kNotReported[] = "N/A";

std::string AddressText(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(address >> 24),
                  static_cast<unsigned>((address >> 16) & 0xFFu),
                  static_cast<unsigned>((address >> 8) & 0xFFu),
                  static_cast<unsigned>(address & 0xFFu));
    return text;
}

std::string VersionText(unsigned major, unsigned minor, unsigned build) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u.%u", major, minor, build);
    return text;
}

// The field comes off the network: it need not hold a terminator.
std::string TypeText(const char (&field)[128]) {
    return std::string(framework::FieldText(field));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One "%x" conversion at `pos`: white space, an optional sign, an optional
// "0x", then hex digits. Wraps modulo 2^32 where sscanf's overflow would be
// undefined; only the low byte is used.
bool ReadHexNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
    const bool negative = framework::SkipSpaceAndSign(text, pos);
    const std::string_view rest = text.substr(pos);
    if (rest.size() >= 3 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
        HexDigit(rest[2]) >= 0)
        pos += 2;
    const std::size_t start = pos;
    value = 0;
    for (; pos < text.size() && HexDigit(text[pos]) >= 0; ++pos)
        value = (value << 4) | static_cast<std::uint32_t>(HexDigit(text[pos]));
    if (negative)
        value = 0u - value;
    return pos > start;
}

}  // namespace

std::string MacText(const std::uint8_t (&mac)[kMacLength]) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", unsigned{mac[0]},
                  unsigned{mac[1]}, unsigned{mac[2]}, unsigned{mac[3]}, unsigned{mac[4]},
                  unsigned{mac[5]});
    return text;
}

ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response) {
    ResponseRow row;
    auto& t = row.texts;
    t[0] = response.bIpAddrValid ? AddressText(response.dwIpAddr) : kNotReported;
    t[1] = response.bSubnetMaskValid ? AddressText(response.dwSubnetMask) : kNotReported;
    t[2] = response.bGatewayValid ? AddressText(response.dwGateway) : kNotReported;
    t[3] = !response.bDhcpValid ? kNotReported : response.bDhcpOn == 1 ? "On" : "Off";
    t[4] = response.bFwVersionValid
               ? VersionText(response.bFwVersionMajor, response.bFwVersionMinor, response.wFwBuild)
               : kNotReported;
    t[5] = response.bTypeValid ? TypeText(response.szType) : kNotReported;
    t[kMacColumn] = response.bMacAddrValid ? MacText(response.abMacAddr) : kNotReported;
    row.shown = response.bMacAddrValid != 0;
    return row;
}

bool SameMac(const std::uint8_t (&a)[kMacLength], const std::uint8_t (&b)[kMacLength]) {
    return std::memcmp(a, b, kMacLength) == 0;
}

bool ParseMacText(const char* text, std::uint8_t (&mac)[kMacLength]) {
    // No more than the list's 18-byte cell buffer holds.
    std::size_t length = 0;
    while (length < 17 && text[length] != '\0')
        ++length;
    const std::string_view cell(text, length);

    std::uint8_t parsed[kMacLength];
    std::size_t pos = 0;
    for (std::size_t i = 0; i < kMacLength; ++i) {
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
    std::memcpy(mac, parsed, kMacLength);
    return true;
}

}  // namespace zova
