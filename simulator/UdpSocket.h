// The simulator's one UDP socket: Winsock on Windows, POSIX elsewhere.
#ifndef VANTREL_SIMULATOR_UDPSOCKET_H
#define VANTREL_SIMULATOR_UDPSOCKET_H

#include "zovadll/Endpoint.h"

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
    bool Bind(zova::Endpoint local, std::string& error);
    std::uint16_t LocalPort() const;
    // Lets answers go to 255.255.255.255; only for a namespace a test made.
    bool AllowBroadcast();
    // Waits at most timeoutMs for a datagram to arrive.
    bool WaitReadable(int timeoutMs);
    // A datagram that is waiting, or -1 when none is. Datagrams larger than
    // the buffer arrive cut to it.
    long Receive(std::uint8_t* buffer, std::size_t capacity, zova::Endpoint& from);
    bool SendTo(const std::uint8_t* data, std::size_t size, zova::Endpoint to);

private:
    std::intptr_t handle_;
};

std::string EndpointText(zova::Endpoint endpoint);

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_UDPSOCKET_H
