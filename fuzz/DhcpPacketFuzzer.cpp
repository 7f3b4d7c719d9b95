// One received datagram through the recovery server's parser and reply logic,
// no socket involved. The bytes of raw past the datagram are poisoned, so a
// read beyond what was received stops the run.
#include "dhcp/DhcpServer.h"

#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const std::uint8_t kPrefix[3] = {0x02, 0x6B, 0xD4};
const std::uint8_t kMask[4] = {255, 255, 255, 0};
// The address of the adapter every datagram here came in on.
const std::uint8_t kAdapter[4] = {10, 200, 1, 254};

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// As the socket layer leaves it: the datagram at the start of raw, stale bytes
// after it, which nothing may read.
void Receive(CDhcpPacket& packet, const std::uint8_t* data, int size) {
    std::memset(packet.raw, 0xA5, sizeof packet.raw);
    std::memcpy(packet.raw, data, size);
    packet.length = size;
    ASAN_POISON_MEMORY_REGION(packet.raw + size, CDhcpPacket::kRawSize - size);
}

void Release(CDhcpPacket& packet) {
    ASAN_UNPOISON_MEMORY_REGION(packet.raw, CDhcpPacket::kRawSize);
}

// The reply must read back as what the server meant to say, naming the
// adapter as the server, with a lease time unless it refuses.
void CheckReply(const CDhcpServer& server, std::uint8_t expectedType) {
    const CDhcpPacket& reply = server.m_reply;
    const std::uint8_t* mac = server.m_request.chaddr;
    Check(reply.length == CDhcpPacket::kReplySize);

    auto echo = std::make_unique<CDhcpPacket>();
    Receive(*echo, reply.raw, reply.length);
    const bool parsed = echo->Parse();
    Release(*echo);
    const std::uint8_t offered[4] = {10, 200, 1, mac[5]};
    Check(parsed && echo->op == 2 && echo->hasMessageType && echo->messageType == expectedType &&
          echo->hasSubnetMask && std::memcmp(echo->subnetMask, kMask, 4) == 0 &&
          echo->hasServerId && std::memcmp(echo->serverId, kAdapter, 4) == 0 &&
          reply.hasLeaseTime == (expectedType != dhcp::kNak) &&
          std::memcmp(echo->xid, server.m_request.xid, 4) == 0 &&
          std::memcmp(echo->chaddr, mac, 6) == 0 && std::memcmp(echo->yiaddr, offered, 4) == 0);
}

// Any fields, as the input gives them, fit the packet writer and read back.
void CheckBuild(const std::uint8_t* data, std::size_t size) {
    if (size < 8)
        return;
    auto packet = std::make_unique<CDhcpPacket>();
    const auto fill = [&](std::uint8_t* field, std::size_t bytes, std::size_t from) {
        for (std::size_t i = 0; i < bytes; ++i)
            field[i] = data[(from + i) % size];
    };
    packet->op = data[0];
    packet->hasMessageType = data[1] & 1;
    packet->messageType = data[2];
    packet->hasSubnetMask = data[3] & 1;
    fill(packet->subnetMask, 4, 4);
    packet->hasServerId = data[3] & 2;
    fill(packet->serverId, 4, 1);
    packet->hasLeaseTime = data[3] & 4;
    fill(packet->leaseTime, 4, 2);
    packet->hasRequestedIp = data[3] & 8;
    fill(packet->requestedIp, 4, 3);
    fill(packet->xid, 4, 5);
    fill(packet->chaddr, 16, 6);
    fill(packet->sname, 64, 7);
    fill(packet->file, 128, 8);
    Check(packet->Build() && packet->length == CDhcpPacket::kReplySize);
    auto echo = std::make_unique<CDhcpPacket>();
    Receive(*echo, packet->raw, packet->length);
    const bool parsed = echo->Parse();
    Release(*echo);
    Check(parsed && echo->op == packet->op && echo->hasMessageType == packet->hasMessageType &&
          (!echo->hasMessageType || echo->messageType == packet->messageType) &&
          echo->hasSubnetMask == !!packet->hasSubnetMask &&
          (!echo->hasSubnetMask || std::memcmp(echo->subnetMask, packet->subnetMask, 4) == 0) &&
          echo->hasServerId == !!packet->hasServerId &&
          (!echo->hasServerId || std::memcmp(echo->serverId, packet->serverId, 4) == 0) &&
          echo->hasRequestedIp == !!packet->hasRequestedIp &&
          (!echo->hasRequestedIp || std::memcmp(echo->requestedIp, packet->requestedIp, 4) == 0) &&
          std::memcmp(echo->xid, packet->xid, 4) == 0 &&
          std::memcmp(echo->chaddr, packet->chaddr, 16) == 0 &&
          std::memcmp(echo->file, packet->file, 128) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckBuild(data, size);
    auto server = std::make_unique<CDhcpServer>();
    CDhcpPacket& request = server->m_request;

    // The socket layer drops what does not fit; the parser must refuse it too.
    if (size > static_cast<std::size_t>(CDhcpPacket::kRawSize)) {
        request.length = static_cast<std::int32_t>(size);
        Check(!request.Parse());
        return 0;
    }

    // An adapter without an address never gets a reply.
    Receive(request, data, static_cast<int>(size));
    Check(!server->PrepareReply(nullptr));
    Release(request);

    Receive(request, data, static_cast<int>(size));
    const bool parsed = request.Parse();
    const bool replied = server->PrepareReply(kAdapter);
    Release(request);

    Check(!parsed || size >= static_cast<std::size_t>(CDhcpPacket::kHeaderSize));
    const bool supported = std::memcmp(request.chaddr, kPrefix, 3) == 0;
    const bool discover = request.hasMessageType && request.messageType == dhcp::kDiscover;
    const bool asks = request.hasMessageType && request.messageType == dhcp::kRequest &&
                      (!request.hasServerId || std::memcmp(request.serverId, kAdapter, 4) == 0);
    Check(replied == (parsed && supported && (discover || asks)));
    if (!replied)
        return 0;

    std::uint8_t expected = dhcp::kOffer;
    if (asks) {
        const std::uint8_t offered[4] = {10, 200, 1, request.chaddr[5]};
        const bool other =
            request.hasRequestedIp && std::memcmp(request.requestedIp, offered, 4) != 0;
        expected = other ? dhcp::kNak : dhcp::kAck;
    }
    CheckReply(*server, expected);
    return 0;
}
