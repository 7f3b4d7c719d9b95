// The simulator's one UDP socket: Winsock on Windows, POSIX elsewhere.
#ifndef VANTREL_SIMULATOR_UDP_SOCKET_H
#define VANTREL_SIMULATOR_UDP_SOCKET_H

#include "zovadll/endpoint.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace devsim {

class UdpSocket {
public:
    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds to the address and port (0: any free port); false with a message.
    bool bind(zova::Endpoint local, std::string& error);
    std::uint16_t localPort() const;
    // Lets answers go to 255.255.255.255; only for a namespace a test made.
    bool allowBroadcast();
    // Waits at most timeoutMs for a datagram to arrive.
    bool waitReadable(int timeoutMs);
    // A datagram that is waiting, or -1 when none is. Datagrams larger than
    // the buffer arrive cut to it.
    long receive(std::uint8_t* buffer, std::size_t capacity, zova::Endpoint& from);
    bool sendTo(const std::uint8_t* data, std::size_t size, zova::Endpoint to);

private:
    std::intptr_t handle_;
};

std::string endpointText(zova::Endpoint endpoint);

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_UDP_SOCKET_H
