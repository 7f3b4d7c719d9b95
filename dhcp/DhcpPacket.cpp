#include "dhcp/DhcpPacket.h"

#include "base/Bytes.h"

#include <cstring>

namespace {

enum : std::uint8_t {
    kOptPad = 0,
    kOptSubnetMask = 1,
    kOptRequestedIp = 50,
    kOptLeaseTime = 51,
    kOptMessageType = 53,
    kOptServerId = 54,
    kOptEnd = 255,
};

// An option of four value bytes, when its flag is set.
void PutOption(base::ByteWriter& out, std::uint8_t flag, std::uint8_t code,
               const std::uint8_t* value) {
    if (!flag)
        return;
    const std::uint8_t head[2] = {code, 4};
    out.Put(head, 2);
    out.Put(value, 4);
}

}  // namespace

CDhcpPacket::~CDhcpPacket() = default;

bool CDhcpPacket::Parse() {
    hasMessageType = 0;
    messageType = 0;
    hasSubnetMask = 0;
    std::memset(subnetMask, 0, sizeof subnetMask);
    hasServerId = 0;
    std::memset(serverId, 0, sizeof serverId);
    hasRequestedIp = 0;
    std::memset(requestedIp, 0, sizeof requestedIp);
    hasLeaseTime = 0;
    std::memset(leaseTime, 0, sizeof leaseTime);

    if (length < kHeaderSize || length > kRawSize)
        return false;

    base::ByteReader in(raw, static_cast<std::size_t>(length));
    in.Byte(op);
    in.Byte(htype);
    in.Byte(hlen);
    in.Byte(hops);
    in.Copy(xid, 4);
    in.Copy(secs, 2);
    in.Skip(2);  // the flags word: every reply is a broadcast
    in.Copy(ciaddr, 4);
    in.Copy(yiaddr, 4);
    in.Copy(siaddr, 4);
    in.Copy(giaddr, 4);
    in.Copy(chaddr, 16);
    in.Copy(sname, 64);
    in.Copy(file, 128);

    optionsLength = length - kHeaderSize;
    std::memcpy(options, raw + kHeaderSize, optionsLength);

    // The walk reads the received bytes themselves, bounded by their length.
    const std::uint8_t* received = raw + kHeaderSize;
    if (optionsLength < 4 || std::memcmp(received, dhcp::kMagicCookie, 4) != 0)
        return true;  // a plain BOOTP message: accepted, without options
    return ParseOptions(received + 4, optionsLength - 4);
}

// Walks the options after the cookie. An option whose length byte or value
// lies past the end of the datagram ends the walk: those bytes were never
// received.
bool CDhcpPacket::ParseOptions(const std::uint8_t* p, int remaining) {
    base::ByteReader in(p, static_cast<std::size_t>(remaining));
    std::uint8_t code = 0;
    while (in.Byte(code) && code != kOptEnd) {
        if (code == kOptPad)
            continue;
        std::uint8_t size = 0;
        if (!in.Byte(size))
            break;

        std::uint8_t* flag = nullptr;
        std::uint8_t* target = nullptr;
        int expected = 0;
        switch (code) {
        case kOptSubnetMask:
            flag = &hasSubnetMask;
            target = subnetMask;
            expected = 4;
            break;
        case kOptRequestedIp:
            flag = &hasRequestedIp;
            target = requestedIp;
            expected = 4;
            break;
        case kOptMessageType:
            flag = &hasMessageType;
            target = &messageType;
            expected = 1;
            break;
        case kOptServerId:
            flag = &hasServerId;
            target = serverId;
            expected = 4;
            break;
        default:
            break;
        }
        if (flag && size != expected)
            return false;
        const std::uint8_t* value = nullptr;
        if (!in.Take(size, value))
            break;
        if (flag) {
            *flag = 1;
            std::memcpy(target, value, size);
        }
    }
    return true;
}

bool CDhcpPacket::Build() {
    std::memset(raw, 0, sizeof raw);
    // What would not fit is not written, and the message is then refused as
    // a whole.
    base::ByteWriter out(raw, kRawSize);
    const std::uint8_t flags[2] = {0, 0};
    out.Put(op);
    out.Put(htype);
    out.Put(hlen);
    out.Put(hops);
    out.Put(xid, 4);
    out.Put(secs, 2);
    out.Put(flags, 2);
    out.Put(ciaddr, 4);
    out.Put(yiaddr, 4);
    out.Put(siaddr, 4);
    out.Put(giaddr, 4);
    out.Put(chaddr, 16);
    out.Put(sname, 64);
    out.Put(file, 128);
    out.Put(dhcp::kMagicCookie, 4);
    if (hasMessageType) {
        const std::uint8_t option[3] = {kOptMessageType, 1, messageType};
        out.Put(option, 3);
    }
    PutOption(out, hasSubnetMask, kOptSubnetMask, subnetMask);
    PutOption(out, hasServerId, kOptServerId, serverId);
    PutOption(out, hasLeaseTime, kOptLeaseTime, leaseTime);
    PutOption(out, hasRequestedIp, kOptRequestedIp, requestedIp);
    out.Put(kOptEnd);
    if (out.Overflowed()) {
        std::memset(raw, 0, sizeof raw);
        length = 0;
        optionsLength = 0;
        return false;
    }

    // The rest up to the minimum reply size is already zero.
    const int used = static_cast<int>(out.Used());
    length = used > kReplySize ? used : kReplySize;
    optionsLength = length - kHeaderSize;
    return true;
}
