#include "base/Address.h"

#include "base/Text.h"

#include <cstdio>
#include <cstring>

namespace base {

Mac MacFrom(const std::uint8_t* bytes) {
    Mac mac;
    std::memcpy(mac.data(), bytes, mac.size());
    return mac;
}

std::uint64_t MacKey(const Mac& mac) {
    std::uint64_t key = 0;
    for (const std::uint8_t byte : mac)
        key = (key << 8) | byte;
    return key;
}

std::string MacText(const Mac& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", unsigned{mac[0]},
                  unsigned{mac[1]}, unsigned{mac[2]}, unsigned{mac[3]}, unsigned{mac[4]},
                  unsigned{mac[5]});
    return text;
}

bool ParseHexPairs(std::string_view text, std::string_view separators, std::uint8_t* out,
                   std::size_t count) {
    if (count == 0 || text.size() != count * 3 - 1)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && separators.find(text[i * 3 - 1]) == std::string_view::npos)
            return false;
        if (HexDigit(text[i * 3]) < 0 || HexDigit(text[i * 3 + 1]) < 0)
            return false;
    }
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(HexDigit(text[i * 3]) * 16 + HexDigit(text[i * 3 + 1]));
    return true;
}

std::optional<Mac> ParseMac(std::string_view text) {
    Mac mac;
    if (!ParseHexPairs(text, "-:", mac.data(), mac.size()))
        return std::nullopt;
    return mac;
}

std::uint32_t Ipv4From(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::string Ipv4Text(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(address >> 24),
                  static_cast<unsigned>((address >> 16) & 0xFFu),
                  static_cast<unsigned>((address >> 8) & 0xFFu),
                  static_cast<unsigned>(address & 0xFFu));
    return text;
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    std::size_t pos = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return std::nullopt;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned number = 0;
        while (pos < text.size() && pos - start < 3 && text[pos] >= '0' && text[pos] <= '9')
            number = number * 10 + static_cast<unsigned>(text[pos++] - '0');
        if (pos == start || number > 255)
            return std::nullopt;
        address = (address << 8) | number;
    }
    if (pos != text.size())
        return std::nullopt;
    return address;
}

}  // namespace base
