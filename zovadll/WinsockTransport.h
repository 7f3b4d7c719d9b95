// The library's sockets: one per IPv4 interface that is up, each sending to
// the limited broadcast, or a single one towards a redirect target.
#ifndef VANTREL_ZOVADLL_WINSOCKTRANSPORT_H
#define VANTREL_ZOVADLL_WINSOCKTRANSPORT_H

#include "zovadll/Endpoint.h"
#include "zovadll/Wire.h"

#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zova {

class WinsockTransport {
public:
    using Sink =
        std::function<void(const std::uint8_t* data, std::size_t size, const Endpoint& sender)>;

    WinsockTransport() = default;
    WinsockTransport(const WinsockTransport&) = delete;
    WinsockTransport& operator=(const WinsockTransport&) = delete;
    ~WinsockTransport() { Close(); }

    // Without a target every broadcast-capable interface that is up gets a
    // socket of its own, since a broadcast leaves through one interface only.
    // Sockets of an earlier open are closed first.
    bool Open(const std::optional<Endpoint>& target);
    void Close();
    // True when at least one socket sent the datagram.
    bool Send(const wire::Datagram& datagram);
    // Waits up to timeoutMs, then drains every socket that has datagrams.
    // When the wait itself fails it still takes timeoutMs, so that a lasting
    // failure cannot turn the caller's loop into a spin.
    void Receive(int timeoutMs, const Sink& sink);

private:
    SOCKET OpenSocket(std::uint32_t localAddress, bool broadcast);

    std::vector<SOCKET> sockets_;
    sockaddr_in destination_{};
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_WINSOCKTRANSPORT_H
