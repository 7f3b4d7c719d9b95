// The recovery server's port 67 on every adapter: takes one request at a
// time together with the adapter it came in on, and broadcasts the reply back
// out of that adapter, whichever adapter the routes prefer.
//
// Windows (and Wine) has no call within Winsock that gives an interface
// index's address, so there each IPv4 adapter that is up gets a socket bound
// to its address: it receives that adapter's broadcasts, and what it sends
// leaves through that adapter. The list is read again every second, so an
// adapter that comes up (or gets its address) after the start is served too.
// POSIX has one socket on 0.0.0.0 with IP_PKTINFO: recvmsg names the
// interface, and sendmsg sends out of it.
#ifndef VANTREL_DHCP_SERVERPORT_H
#define VANTREL_DHCP_SERVERPORT_H

#include "dhcp/UdpSocket.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace dhcp {

// Where a request came in.
struct Arrival {
    // The adapter's IPv4 address in wire order; hasAddress 0 when the
    // adapter has none.
    std::uint8_t hasAddress = 0;
    std::uint8_t address[4] = {};
    // How to send back out of that adapter: its socket (Windows), or its
    // interface index (POSIX).
    std::uintptr_t route = 0;
};

class ServerPort {
public:
    ServerPort() = default;
    ServerPort(const ServerPort&) = delete;
    ServerPort& operator=(const ServerPort&) = delete;
    ~ServerPort() { Close(); }

    // Binds `port` for broadcasting. False, with the socket error in `error`
    // and nothing left open, when the port cannot be had (on Windows: on any
    // of the adapters there are).
    bool Open(std::uint16_t port, int& error);
    void Close() {
        for (const Bound& b : bound_)
            dhcp::Close(b.socket);
        bound_.clear();
        open_ = false;
    }
    bool IsOpen() const { return open_; }

    // Takes one waiting datagram into buffer without blocking, as
    // dhcp::Receive does, and says where it came in.
    int Receive(std::uint8_t* buffer, int capacity, Arrival& from);
    // Sends to 255.255.255.255 at port out of the adapter `to`; false when
    // the call fails.
    bool SendBroadcast(const Arrival& to, const std::uint8_t* data, int length, std::uint16_t port);

private:
    using Address = std::array<std::uint8_t, 4>;  // wire order
    struct Bound {
        Handle socket;
        Address address;
    };

    // Windows: sockets for the adapters as they are now; the socket error of
    // the last adapter that could not be bound, 0 when none failed.
    int Refresh();

    // Windows: one per adapter; POSIX: the one socket, its address unused.
    std::vector<Bound> bound_;
    bool open_ = false;
    // Windows only: the port, the socket to look at first (so that a busy
    // adapter cannot starve the others), the time of the next Refresh.
    std::uint16_t port_ = 0;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point nextRefresh_{};
};

}  // namespace dhcp

#endif  // VANTREL_DHCP_SERVERPORT_H
