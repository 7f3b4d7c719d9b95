#include "dhcp/DhcpPacket.h"

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

// Appends to a cleared buffer. What would not fit is not written, in every
// build, and the message is then refused as a whole (Build returns false).
class Writer {
public:
    Writer(std::uint8_t* buffer, int capacity) : m_buffer(buffer), m_capacity(capacity) {}
    void Put(const void* bytes, int count) {
        if (count < 0 || count > m_capacity - m_used) {
            m_bOverflow = true;
            return;
        }
        std::memcpy(m_buffer + m_used, bytes, count);
        m_used += count;
    }
    void Put(std::uint8_t byte) { Put(&byte, 1); }
    // An option of four value bytes, when its flag is set.
    void PutOption(std::uint8_t flag, std::uint8_t code, const std::uint8_t* value) {
        if (!flag)
            return;
        const std::uint8_t head[2] = {code, 4};
        Put(head, 2);
        Put(value, 4);
    }
    int Used() const { return m_used; }
    bool Overflowed() const { return m_bOverflow; }

private:
    std::uint8_t* m_buffer;
    int m_capacity;
    int m_used = 0;
    bool m_bOverflow = false;
};

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

    op = raw[0];
    htype = raw[1];
    hlen = raw[2];
    hops = raw[3];
    std::memcpy(xid, raw + 4, 4);
    std::memcpy(secs, raw + 8, 2);
    std::memcpy(ciaddr, raw + 12, 4);
    std::memcpy(yiaddr, raw + 16, 4);
    std::memcpy(siaddr, raw + 20, 4);
    std::memcpy(giaddr, raw + 24, 4);
    std::memcpy(chaddr, raw + 28, 16);
    std::memcpy(sname, raw + 44, 64);
    std::memcpy(file, raw + 108, 128);

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
    while (remaining > 0) {
        const std::uint8_t code = p[0];
        if (code == kOptEnd)
            break;
        if (code == kOptPad) {
            ++p;
            --remaining;
            continue;
        }
        if (remaining < 2)
            break;
        const int size = p[1];
        const std::uint8_t* value = p + 2;

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
        if (size > remaining - 2)
            break;
        if (flag) {
            *flag = 1;
            std::memcpy(target, value, size);
        }
        p += size + 2;
        remaining -= size + 2;
    }
    return true;
}

bool CDhcpPacket::Build() {
    std::memset(raw, 0, sizeof raw);
    Writer out(raw, kRawSize);
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
    out.PutOption(hasSubnetMask, kOptSubnetMask, subnetMask);
    out.PutOption(hasServerId, kOptServerId, serverId);
    out.PutOption(hasLeaseTime, kOptLeaseTime, leaseTime);
    out.PutOption(hasRequestedIp, kOptRequestedIp, requestedIp);
    out.Put(kOptEnd);
    if (out.Overflowed()) {
        std::memset(raw, 0, sizeof raw);
        length = 0;
        optionsLength = 0;
        return false;
    }

    // The rest up to the minimum reply size is already zero.
    length = out.Used() > kReplySize ? out.Used() : kReplySize;
    optionsLength = length - kHeaderSize;
    return true;
}
