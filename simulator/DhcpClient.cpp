#include "simulator/DhcpClient.h"

#include "base/Address.h"
#include "dhcp/DhcpPacket.h"
#include "simulator/JsonLine.h"

#include <algorithm>
#include <cstring>

namespace devsim {
namespace {

// Retransmission as a client does it: once a second, and not forever.
constexpr auto kRetryInterval = std::chrono::seconds(1);
constexpr int kMaxSends = 120;

}  // namespace

DhcpClients::DhcpClients(std::vector<Device>& devices, std::FILE* log)
    : devices_(devices), log_(log) {
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (!devices_[i].dhcp || devices_[i].ip != 0)
            continue;
        devices_[i].awaitingDhcp = true;
        Client client{};
        client.device = i;
        // Distinct per device and stable from run to run.
        const base::Mac& mac = devices_[i].mac;
        const std::uint8_t xid[4] = {0x5A, mac[3], mac[4], mac[5]};
        std::memcpy(client.xid, xid, 4);
        clients_.push_back(client);
    }
}

DhcpClients::~DhcpClients() {
    if (socket_ != dhcp::kNoSocket)
        dhcp::Close(socket_);
    dhcp::Shutdown();
}

bool DhcpClients::Open(std::string& error) {
    if (!dhcp::Startup()) {
        error = "cannot start sockets";
        return false;
    }
    const dhcp::Handle s = dhcp::Open();
    if (s == dhcp::kNoSocket || !dhcp::EnableBroadcast(s) || !dhcp::BindAny(s, 68)) {
        if (s != dhcp::kNoSocket)
            dhcp::Close(s);
        error = "cannot bind the DHCP client port 68";
        return false;
    }
    dhcp::SetNonBlocking(s);
    socket_ = s;
    return true;
}

void DhcpClients::Tick() {
    if (socket_ == dhcp::kNoSocket)
        return;
    Receive();
    const Clock::time_point now = Clock::now();
    for (Client& client : clients_) {
        if (devices_[client.device].awaitingDhcp && client.sends < kMaxSends &&
            now >= client.nextSend)
            Send(client, now);
    }
}

void DhcpClients::Receive() {
    CDhcpPacket reply;
    for (int i = 0; i < 64; ++i) {
        reply.length = dhcp::Receive(socket_, reply.raw, CDhcpPacket::kRawSize);
        if (reply.length < 0)
            return;
        if (!reply.Parse() || reply.op != 2 || !reply.hasMessageType)
            continue;
        const auto it = std::find_if(clients_.begin(), clients_.end(), [&](const Client& c) {
            return std::memcmp(c.xid, reply.xid, 4) == 0 &&
                   devices_[c.device].mac == base::MacFrom(reply.chaddr);
        });
        if (it == clients_.end() || !devices_[it->device].awaitingDhcp)
            continue;
        Client& client = *it;
        if (reply.messageType == dhcp::kOffer && !client.requesting) {
            client.requesting = true;
            std::memcpy(client.offered, reply.yiaddr, 4);
            client.hasServer = reply.hasServerId;
            std::memcpy(client.server, reply.serverId, 4);
            Send(client, Clock::now());
        } else if (reply.messageType == dhcp::kAck && client.requesting) {
            const std::uint8_t noMask[4] = {0, 0, 0, 0};
            Bind(client, reply.yiaddr, reply.hasSubnetMask ? reply.subnetMask : noMask);
        } else if (reply.messageType == dhcp::kNak) {
            client.requesting = false;  // start over with a new DISCOVER
        }
    }
}

void DhcpClients::Send(Client& client, Clock::time_point now) {
    // A REQUEST asks for the offered address and names the server that
    // offered it, as a client choosing an offer does.
    CDhcpPacket message;
    message.op = 1;     // request
    message.htype = 1;  // Ethernet
    message.hlen = 6;
    std::memcpy(message.xid, client.xid, 4);
    std::memcpy(message.chaddr, devices_[client.device].mac.data(), 6);
    message.hasMessageType = 1;
    message.messageType = client.requesting ? dhcp::kRequest : dhcp::kDiscover;
    if (client.requesting) {
        message.hasRequestedIp = 1;
        std::memcpy(message.requestedIp, client.offered, 4);
        message.hasServerId = client.hasServer;
        std::memcpy(message.serverId, client.server, 4);
    }
    if (message.Build())
        dhcp::SendBroadcast(socket_, message.raw, message.length, 67);
    ++client.sends;
    client.nextSend = now + kRetryInterval;
}

void DhcpClients::Bind(Client& client, const std::uint8_t* address, const std::uint8_t* mask) {
    Device& device = devices_[client.device];
    device.ip = base::Ipv4From(address);
    device.mask = base::Ipv4From(mask);
    device.awaitingDhcp = false;
    std::fputs(JsonLine()
                   .Add("type", "dhcp")
                   .Add("mac", base::MacText(device.mac))
                   .Add("outcome", "bound")
                   .Add("ip", base::Ipv4Text(device.ip))
                   .Add("mask", base::Ipv4Text(device.mask))
                   .Str()
                   .c_str(),
               log_);
    std::fputc('\n', log_);
    std::fflush(log_);
}

}  // namespace devsim
