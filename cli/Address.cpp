#include "cli/Address.h"

namespace cli {

bool ParseAddress(const std::string& text, std::uint32_t& address) {
    std::uint32_t value = 0;
    std::size_t pos = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned number = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3)
            number = number * 10 + static_cast<unsigned>(text[pos++] - '0');
        if (pos == start || number > 255)
            return false;
        value = (value << 8) | number;
    }
    if (pos != text.size())
        return false;
    address = value;
    return true;
}

std::string AddressText(std::uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFFu) + '.' +
           std::to_string((address >> 8) & 0xFFu) + '.' + std::to_string(address & 0xFFu);
}

bool ParseMac(const std::string& text, std::uint8_t (&mac)[6]) {
    if (text.size() != 17)
        return false;
    std::uint8_t parsed[6];
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0 && text[i * 3 - 1] != '-' && text[i * 3 - 1] != ':')
            return false;
        unsigned value = 0;
        for (std::size_t k = i * 3; k < i * 3 + 2; ++k) {
            const char c = text[k];
            const int digit = (c >= '0' && c <= '9')   ? c - '0'
                              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                       : -1;
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        parsed[i] = static_cast<std::uint8_t>(value);
    }
    for (std::size_t i = 0; i < 6; ++i)
        mac[i] = parsed[i];
    return true;
}

}  // namespace cli
