#include "dhcp/DhcpServer.h"

#include <cstring>

namespace {

const std::uint16_t kServerPort = 67;
const std::uint16_t kClientPort = 68;
const std::uint8_t kSupportedPrefix[3] = {0x02, 0x6B, 0xD4};
const std::uint8_t kSubnetMask[4] = {255, 255, 255, 0};

enum : std::uint8_t {
    kDiscover = 1,
    kOffer = 2,
    kRequest = 3,
    kAck = 5,
    kNak = 6,
};

}  // namespace

CDhcpServer::~CDhcpServer() = default;

bool CDhcpServer::Init() {
    if (!dhcp::Startup())
        return false;
    const dhcp::Handle s = dhcp::Open();
    if (s == dhcp::kNoSocket) {
        m_initError = dhcp::LastError();
        return false;
    }
    if (!dhcp::EnableBroadcast(s) || !dhcp::BindAny(s, kServerPort)) {
        m_initError = dhcp::LastError();
        dhcp::Close(s);
        return false;
    }
    dhcp::SetNonBlocking(s);
    m_socket = s;
    return true;
}

bool CDhcpServer::Cleanup() {
    if (m_socket != dhcp::kNoSocket)
        dhcp::Close(m_socket);
    m_socket = dhcp::kNoSocket;
    dhcp::Shutdown();
    return true;
}

void CDhcpServer::Trace(const char*, ...) {}

int CDhcpServer::Poll() {
    if (m_socket == dhcp::kNoSocket)
        return 0;
    m_request.length = dhcp::Receive(m_socket, m_request.raw, CDhcpPacket::kRawSize);
    if (m_request.length < 0 || !PrepareReply())
        return 0;
    return dhcp::SendBroadcast(m_socket, m_reply.raw, m_reply.length, kClientPort) ? 1 : 0;
}

bool CDhcpServer::PrepareReply() {
    if (!m_request.Parse())
        return false;
    const std::uint8_t* mac = m_request.chaddr;
    if (std::memcmp(mac, kSupportedPrefix, sizeof kSupportedPrefix) != 0) {
        Trace("[RECV] Got message from non-supported MAC (%02x:%02x:%02x:%02x:%02x:%02x)\n", mac[0],
              mac[1], mac[2], mac[3], mac[4], mac[5]);
        return false;
    }

    m_reply.op = 2;
    m_reply.htype = m_request.htype;
    m_reply.hlen = m_request.hlen;
    std::memcpy(m_reply.xid, m_request.xid, 4);
    const std::uint8_t offered[4] = {10, 200, 1, mac[5]};
    std::memcpy(m_reply.yiaddr, offered, 4);
    std::memcpy(m_reply.chaddr, mac, 6);
    m_reply.hasMessageType = 1;

    const std::uint8_t* y = m_reply.yiaddr;
    if (m_request.hasMessageType && m_request.messageType == kDiscover) {
        Trace("[RECV] DHCP_DISCOVER\n");
        Trace("[SEND] DHCP_OFFER.\n\n");
        m_reply.messageType = kOffer;
    } else if (m_request.hasMessageType && m_request.messageType == kRequest) {
        Trace("[RECV] DHCP_REQUEST ");
        const std::uint8_t* r = m_request.requestedIp;
        if (m_request.hasRequestedIp)
            Trace("%d.%d.%d.%d\n", r[0], r[1], r[2], r[3]);
        else
            Trace("\n");
        if (m_request.hasRequestedIp && std::memcmp(r, y, 4) != 0) {
            Trace("[SEND] DHCP_NAK (Correct IP should be %d.%d.%d.%d)\n\n", y[0], y[1], y[2], y[3]);
            m_reply.messageType = kNak;
        } else {
            Trace("[SEND] DHCP_ACK %d.%d.%d.%d\n\n", y[0], y[1], y[2], y[3]);
            m_reply.messageType = kAck;
        }
    } else {
        return false;
    }

    m_reply.hasSubnetMask = 1;
    std::memcpy(m_reply.subnetMask, kSubnetMask, 4);
    m_reply.hasServerId = 0;
    return m_reply.Build();
}
