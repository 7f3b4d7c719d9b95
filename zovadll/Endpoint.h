// IPv4 endpoints as the library and the simulator take them from the user:
// dotted decimal only, so that no name lookup can send anything anywhere.
#ifndef VANTREL_ZOVADLL_ENDPOINT_H
#define VANTREL_ZOVADLL_ENDPOINT_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace zova {

struct Endpoint {
    std::uint32_t address;  // first octet in the most significant byte
    std::uint16_t port;
};

// Which part of a text ParseEndpoint refused.
enum class EndpointFault { kNoPort, kAddress, kPort };

// "a.b.c.d:port" (base::ParseIpv4) with a port from 1 to 65535; on a refusal,
// fault (when given) says which part was wrong.
std::optional<Endpoint> ParseEndpoint(std::string_view text, EndpointFault* fault = nullptr);
inline bool IsLoopback(std::uint32_t address) {
    return (address >> 24) == 127;
}

}  // namespace zova

#endif  // VANTREL_ZOVADLL_ENDPOINT_H
