#include "zovadll/endpoint.h"

namespace zova {
namespace {

// A decimal number of one to five digits, no sign, no blanks.
std::optional<std::uint32_t> parseNumber(std::string_view text) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

}  // namespace

std::optional<std::uint32_t> parseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    for (int octet = 0; octet < 4; ++octet) {
        const std::size_t dot = octet < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        const auto value = parseNumber(text.substr(0, dot));
        if (!value || *value > 255 || dot > 3)
            return std::nullopt;
        address = (address << 8) | *value;
        text.remove_prefix(octet < 3 ? dot + 1 : dot);
    }
    return address;
}

std::optional<Endpoint> parseEndpoint(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto address = parseIpv4(text.substr(0, colon));
    const auto port = parseNumber(text.substr(colon + 1));
    if (!address || !port || *port == 0 || *port > 65535)
        return std::nullopt;
    return Endpoint{*address, static_cast<std::uint16_t>(*port)};
}

}  // namespace zova
