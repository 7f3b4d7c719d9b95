#include "simulator/DhcpClient.h"

#include "dhcp/DhcpPacket.h"
#include "simulator/JsonLine.h"

#include <algorithm>
#include <cstring>

namespace devsim {
namespace {

// Retransmission as a client does it: once a second, and not forever.
constexpr auto kRetryInterval = std::chrono::seconds(1);
constexpr int kMaxSends = 120;

enum : std::uint8_t { kDiscover = 1, kOffer = 2, kRequest = 3, kAck = 5, kNak = 6 };

std::uint32_t AddressOf(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

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
                   std::memcmp(devices_[c.device].mac.data(), reply.chaddr, 6) == 0;
        });
        if (it == clients_.end() || !devices_[it->device].awaitingDhcp)
            continue;
        Client& client = *it;
        if (reply.messageType == kOffer && !client.requesting) {
            client.requesting = true;
            std::memcpy(client.offered, reply.yiaddr, 4);
            Send(client, Clock::now());
        } else if (reply.messageType == kAck && client.requesting) {
            const std::uint8_t noMask[4] = {0, 0, 0, 0};
            Bind(client, reply.yiaddr, reply.hasSubnetMask ? reply.subnetMask : noMask);
        } else if (reply.messageType == kNak) {
            client.requesting = false;  // start over with a new DISCOVER
        }
    }
}

void DhcpClients::Send(Client& client, Clock::time_point now) {
    // 236-byte header, cookie, message type, for a REQUEST the address asked
    // for, end; padded to the 300 bytes of a BOOTP message.
    std::uint8_t m[300] = {};
    m[0] = 1;  // request
    m[1] = 1;  // Ethernet
    m[2] = 6;
    std::memcpy(m + 4, client.xid, 4);
    std::memcpy(m + 28, devices_[client.device].mac.data(), 6);
    std::size_t at = 236;
    const std::uint8_t cookie[4] = {99, 130, 83, 99};
    std::memcpy(m + at, cookie, 4);
    at += 4;
    m[at++] = 53;
    m[at++] = 1;
    m[at++] = client.requesting ? kRequest : kDiscover;
    if (client.requesting) {
        m[at++] = 50;
        m[at++] = 4;
        std::memcpy(m + at, client.offered, 4);
        at += 4;
    }
    m[at] = 255;
    dhcp::SendBroadcast(socket_, m, sizeof m, 67);
    ++client.sends;
    client.nextSend = now + kRetryInterval;
}

void DhcpClients::Bind(Client& client, const std::uint8_t* address, const std::uint8_t* mask) {
    Device& device = devices_[client.device];
    device.ip = AddressOf(address);
    device.mask = AddressOf(mask);
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
