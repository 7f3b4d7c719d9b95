#include "zovadll/Endpoint.h"

#include "base/Address.h"
#include "base/Text.h"

namespace zova {

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
    const auto port = base::ParseUnsigned(text.substr(colon + 1), 65535);
    if (!port || *port == 0)
        return refuse(EndpointFault::kPort);
    return Endpoint{*address, static_cast<std::uint16_t>(*port)};
}

}  // namespace zova
