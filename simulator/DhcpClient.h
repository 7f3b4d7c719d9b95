// Devices that start in DHCP mode without an address: each runs the client
// side of a DHCP exchange (DISCOVER, then REQUEST for the offered address)
// and, once acknowledged, takes the address and mask and answers scans.
// Until then the device is silent, as a real one without an address is.
#ifndef VANTREL_SIMULATOR_DHCPCLIENT_H
#define VANTREL_SIMULATOR_DHCPCLIENT_H

#include "dhcp/UdpSocket.h"
#include "simulator/Device.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace devsim {

class DhcpClients {
public:
    // Every device in DHCP mode with address 0.0.0.0 starts waiting for a
    // lease. devices must outlive this object; log gets one line per lease.
    DhcpClients(std::vector<Device>& devices, std::FILE* log);
    ~DhcpClients();
    DhcpClients(const DhcpClients&) = delete;
    DhcpClients& operator=(const DhcpClients&) = delete;

    // Binds UDP port 68 for broadcasting; false with a message.
    bool Open(std::string& error);
    // Handles what arrived and sends what is due; never blocks.
    void Tick();

private:
    using Clock = std::chrono::steady_clock;
    struct Client {
        std::size_t device;
        std::uint8_t xid[4];
        bool requesting = false;  // an offer came; asking for its address
        std::uint8_t offered[4] = {};
        std::uint8_t hasServer = 0;  // the offer's server identifier
        std::uint8_t server[4] = {};
        Clock::time_point nextSend{};
        int sends = 0;
    };

    void Receive();
    void Send(Client& client, Clock::time_point now);
    void Bind(Client& client, const std::uint8_t* address, const std::uint8_t* mask);

    std::vector<Device>& devices_;
    std::FILE* log_;
    std::vector<Client> clients_;
    dhcp::Handle socket_ = dhcp::kNoSocket;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_DHCPCLIENT_H
