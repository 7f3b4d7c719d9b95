#include "zovadll/Endpoint.h"

#include "base/Address.h"

namespace zova {
namespace {

// A decimal number of one to five digits, no sign, no blanks.
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
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

std::optional<Endpoint> ParseEndpoint(std::string_view text, EndpointFault* fault) {
    const auto refuse = [&](EndpointFault why) {
        if (fault)
            *fault = why;
        return std::nullopt;
    };
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return refuse(EndpointFault::kNoPort);
    const auto address = base::ParseIpv4(text.substr(0, colon));
    if (!address)
        return refuse(EndpointFault::kAddress);
    const auto port = ParseNumber(text.substr(colon + 1));
    if (!port || *port == 0 || *port > 65535)
        return refuse(EndpointFault::kPort);
    return Endpoint{*address, static_cast<std::uint16_t>(*port)};
}

}  // namespace zova
