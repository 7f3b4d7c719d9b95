#include "dhcp/DhcpServer.h"

#include <cstring>

namespace {

const std::uint16_t kServerPort = 67;
const std::uint16_t kClientPort = 68;
const std::uint8_t kSupportedPrefix[3] = {0x02, 0x6B, 0xD4};
const std::uint8_t kSubnetMask[4] = {255, 255, 255, 0};
// One hour: what clients assumed while replies carried no lease time, so the
// devices that took the older replies see no change.
const std::uint8_t kLeaseTime[4] = {0x00, 0x00, 0x0E, 0x10};

}  // namespace

CDhcpServer::~CDhcpServer() = default;

bool CDhcpServer::Init() {
    return dhcp::Startup() && m_port.Open(kServerPort, m_initError);
}

bool CDhcpServer::Cleanup() {
    m_port.Close();
    dhcp::Shutdown();
    return true;
}

void CDhcpServer::Trace(const char*, ...) {}

int CDhcpServer::Poll() {
    dhcp::Arrival arrival;
    m_request.length = m_port.Receive(m_request.raw, CDhcpPacket::kRawSize, arrival);
    if (m_request.length < 0 || !PrepareReply(arrival.hasAddress ? arrival.address : nullptr))
        return 0;
    return m_port.SendBroadcast(arrival, m_reply.raw, m_reply.length, kClientPort) ? 1 : 0;
}

bool CDhcpServer::PrepareReply(const std::uint8_t* adapter) {
    if (!m_request.Parse())
        return false;
    const std::uint8_t* mac = m_request.chaddr;
    if (std::memcmp(mac, kSupportedPrefix, sizeof kSupportedPrefix) != 0) {
        Trace("[RECV] Got message from non-supported MAC (%02x:%02x:%02x:%02x:%02x:%02x)\n", mac[0],
              mac[1], mac[2], mac[3], mac[4], mac[5]);
        return false;
    }
    // Without an address of its own there the server cannot name itself: a
    // reply without a server identifier is refused by most clients, and one
    // naming another adapter would send the client's renewals astray.
    if (!adapter)
        return false;

    m_reply.op = 2;
    m_reply.htype = m_request.htype;
    m_reply.hlen = m_request.hlen;
    std::memcpy(m_reply.xid, m_request.xid, 4);
    const std::uint8_t offered[4] = {10, 200, 1, mac[5]};
    std::memcpy(m_reply.yiaddr, offered, 4);
    std::memcpy(m_reply.chaddr, mac, 6);
    m_reply.hasMessageType = 1;
    if (!m_request.hasMessageType)
        return false;
    if (m_request.messageType == dhcp::kDiscover)
        AnswerDiscover();
    else if (m_request.messageType != dhcp::kRequest || !AnswerRequest(adapter))
        return false;

    // RFC 2131 4.3.1, table 3: every reply names its server, and an offer or
    // acknowledgement says how long the address is the client's.
    m_reply.hasSubnetMask = 1;
    std::memcpy(m_reply.subnetMask, kSubnetMask, 4);
    m_reply.hasServerId = 1;
    std::memcpy(m_reply.serverId, adapter, 4);
    m_reply.hasLeaseTime = m_reply.messageType == dhcp::kNak ? 0 : 1;
    std::memcpy(m_reply.leaseTime, kLeaseTime, 4);
    return m_reply.Build();
}

void CDhcpServer::AnswerDiscover() {
    Trace("[RECV] DHCP_DISCOVER\n");
    Trace("[SEND] DHCP_OFFER.\n\n");
    m_reply.messageType = dhcp::kOffer;
}

bool CDhcpServer::AnswerRequest(const std::uint8_t* adapter) {
    Trace("[RECV] DHCP_REQUEST ");
    const std::uint8_t* r = m_request.requestedIp;
    if (m_request.hasRequestedIp)
        Trace("%d.%d.%d.%d\n", r[0], r[1], r[2], r[3]);
    else
        Trace("\n");
    // A client that names a server has chosen that server's offer
    // (RFC 2131 4.3.2): when it is not this adapter's, stay silent.
    if (m_request.hasServerId && std::memcmp(m_request.serverId, adapter, 4) != 0)
        return false;
    const std::uint8_t* y = m_reply.yiaddr;
    if (m_request.hasRequestedIp && std::memcmp(r, y, 4) != 0) {
        Trace("[SEND] DHCP_NAK (Correct IP should be %d.%d.%d.%d)\n\n", y[0], y[1], y[2], y[3]);
        m_reply.messageType = dhcp::kNak;
    } else {
        Trace("[SEND] DHCP_ACK %d.%d.%d.%d\n\n", y[0], y[1], y[2], y[3]);
        m_reply.messageType = dhcp::kAck;
    }
    return true;
}
