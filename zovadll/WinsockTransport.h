// The library's sockets: one per IPv4 interface that is up, each sending to
// the limited broadcast, or a single one towards a redirect target.
#ifndef VANTREL_ZOVADLL_WINSOCKTRANSPORT_H
#define VANTREL_ZOVADLL_WINSOCKTRANSPORT_H

#include "zovadll/Endpoint.h"
#include "zovadll/Wire.h"

#include <winsock2.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
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
    // True when at least one socket sent the datagram. Safe from several
    // threads: the tool's thread sends a request's first copy while the
    // receiver thread sends the others.
    bool Send(const wire::Datagram& datagram);
    // Waits until a datagram arrives or until passes, then hands over the
    // waiting datagrams until none is left or until has passed, so that a
    // flood cannot hold the caller past until by more than one datagram.
    // When the wait itself fails it still lasts till then, so that a
    // lasting failure cannot turn the caller's loop into a spin. True when
    // no socket had more to hand over (found empty, or failing).
    bool Receive(std::chrono::steady_clock::time_point until, const Sink& sink);

private:
    SOCKET OpenSocket(std::uint32_t localAddress, bool broadcast);
    bool SendOn(SOCKET s, const wire::Datagram& datagram);

    std::vector<SOCKET> sockets_;
    sockaddr_in destination_{};
    std::mutex sendMutex_;
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_WINSOCKTRANSPORT_H
