// One DHCP/BOOTP message: its decoded fields and its wire image.
#ifndef VANTREL_DHCP_DHCPPACKET_H
#define VANTREL_DHCP_DHCPPACKET_H

#include <cstdint>

namespace dhcp {

// Begins the options of every DHCP message (RFC 2131 3).
constexpr std::uint8_t kMagicCookie[4] = {99, 130, 83, 99};

// Option 53, the message type.
enum MessageType : std::uint8_t {
    kDiscover = 1,
    kOffer = 2,
    kRequest = 3,
    kAck = 5,
    kNak = 6,
};

}  // namespace dhcp

class CDhcpPacket {
public:
    static constexpr int kRawSize = 2048;
    static constexpr int kHeaderSize = 236;  // the fixed BOOTP header
    static constexpr int kReplySize = 300;

    virtual ~CDhcpPacket();

    // Decodes the first `length` bytes of `raw`; false rejects the message.
    // Option 51 is left to the walk over unknown options.
    bool Parse();
    // Encodes the fields into `raw`; sets `length` and `optionsLength`. The
    // options follow in the order 53, 1, 54, 51, 50, so that a reply keeps
    // its type and mask where replies always had them.
    // False, with `raw` cleared and both lengths 0, when they would not fit.
    bool Build();

    // A new record is all zero.
    std::int32_t optionsLength = 0;
    std::int32_t length = 0;
    std::uint8_t op = 0;
    std::uint8_t htype = 0;
    std::uint8_t hlen = 0;
    std::uint8_t hops = 0;
    std::uint8_t xid[4] = {};
    std::uint8_t secs[2] = {};
    std::uint8_t ciaddr[4] = {};
    std::uint8_t yiaddr[4] = {};
    std::uint8_t siaddr[4] = {};
    std::uint8_t giaddr[4] = {};
    std::uint8_t chaddr[16] = {};
    std::uint8_t sname[64] = {};
    std::uint8_t file[128] = {};
    std::uint8_t options[kRawSize - kHeaderSize] = {};
    std::uint8_t raw[kRawSize] = {};
    std::uint8_t hasMessageType = 0;
    std::uint8_t messageType = 0;
    std::uint8_t hasSubnetMask = 0;
    std::uint8_t subnetMask[4] = {};
    std::uint8_t hasServerId = 0;
    std::uint8_t serverId[4] = {};
    std::uint8_t hasRequestedIp = 0;
    std::uint8_t requestedIp[4] = {};
    std::uint8_t hasLeaseTime = 0;
    std::uint8_t leaseTime[4] = {};  // seconds, most significant byte first

private:
    bool ParseOptions(const std::uint8_t* p, int remaining);
};

#endif
