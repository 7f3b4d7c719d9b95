#include "cli/Address.h"

#include <cstdio>

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

std::uint64_t MacKey(const std::uint8_t (&mac)[6]) {
    std::uint64_t key = 0;
    for (std::uint8_t byte : mac)
        key = (key << 8) | byte;
    return key;
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned{byte});
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "'";
}

bool CheckTarget(const std::optional<std::string>& value, std::string& error) {
    if (!value)
        return true;
    const std::string& text = *value;
    const std::string named = "ZOVA_TARGET " + Quoted(text) + ": ";
    const char example[] = " (such as 127.0.0.1:17400)";
    // The library reads the variable into 64 bytes.
    if (text.empty()) {
        error = std::string(
                    "ZOVA_TARGET is set but empty; unset it to reach the network, or give "
                    "ADDRESS:PORT") +
                example;
        return false;
    }
    if (text.size() > 63) {
        error = named + "longer than 63 characters";
        return false;
    }
    if (text.rfind(':') == std::string::npos) {
        error = named + "not ADDRESS:PORT" + example;
        return false;
    }
    const std::size_t colon = text.rfind(':');
    const std::string address = text.substr(0, colon), port = text.substr(colon + 1);
    std::uint32_t ignored = 0;
    if (!ParseAddress(address, ignored)) {
        error = named + Quoted(address) + " is not a dotted IPv4 address";
        return false;
    }
    const bool digits = !port.empty() && port.size() <= 5 &&
                        port.find_first_not_of("0123456789") == std::string::npos;
    const long number = digits ? std::stol(port) : 0;
    if (number < 1 || number > 65535) {
        error = named + "the port is a number from 1 to 65535, not " + Quoted(port);
        return false;
    }
    return true;
}

}  // namespace cli
