#include "zovadll/wire.h"

#include "framework/Text.h"

#include <bitset>
#include <cstring>

namespace zova::wire {
namespace {

constexpr std::uint8_t kMagic0 = 'Z';
constexpr std::uint8_t kMagic1 = 'V';
constexpr std::uint8_t kWireVersion = 1;

enum Tag : std::uint8_t {
    kTagMac = 0x01,
    kTagProtocolVersion = 0x02,
    kTagType = 0x03,
    kTagFirmware = 0x04,
    kTagIpAddr = 0x05,
    kTagSubnetMask = 0x06,
    kTagGateway = 0x07,
    kTagDhcp = 0x08,
    kTagPasswordOn = 0x09,
    kTagHostname = 0x0A,
    kTagPrimaryDns = 0x0B,
    kTagSecondaryDns = 0x0C,
    kTagPasswordSalt = 0x0D,
    kTagPassword = 0x10,
    kTagNewPassword = 0x11,
    kTagOutcome = 0x12,
};

class Writer {
public:
    Writer(MessageType type, std::uint32_t id) {
        out_ = {kMagic0,
                kMagic1,
                kWireVersion,
                static_cast<std::uint8_t>(type),
                static_cast<std::uint8_t>(id),
                static_cast<std::uint8_t>(id >> 8),
                static_cast<std::uint8_t>(id >> 16),
                static_cast<std::uint8_t>(id >> 24)};
    }
    void bytes(Tag tag, const std::uint8_t* value, std::size_t size) {
        // Callers pass fields of at most 127 bytes, so the length byte fits.
        out_.push_back(tag);
        out_.push_back(static_cast<std::uint8_t>(size));
        out_.insert(out_.end(), value, value + size);
    }
    void byte(Tag tag, std::uint8_t value) { bytes(tag, &value, 1); }
    void address(Tag tag, std::uint32_t value) {
        const std::uint8_t octets[4] = {
            static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        bytes(tag, octets, 4);
    }
    // Up to the first NUL and never more than the receiving field can hold.
    void text(Tag tag, const char* field, std::size_t fieldSize) {
        const std::size_t size = framework::BoundedText(field, fieldSize - 1).size();
        bytes(tag, reinterpret_cast<const std::uint8_t*>(field), size);
    }
    Datagram take() { return std::move(out_); }

private:
    Datagram out_;
};

struct Item {
    std::uint8_t tag;
    const std::uint8_t* value;
    std::size_t size;
};

// Walks the items that follow the header of a datagram of the expected type.
// An item that overruns the datagram, a tag that repeats, or a visitor that
// refuses an item makes the whole datagram malformed. Tags the visitor does
// not know it simply accepts, so newer devices may add items.
template <typename Visit>
bool forEachItem(const std::uint8_t* data, std::size_t size, MessageType expected, Visit&& visit) {
    const auto header = decodeHeader(data, size);
    if (!header || header->type != expected)
        return false;
    std::bitset<256> seen;
    std::size_t at = kHeaderSize;
    while (at < size) {
        if (size - at < 2)
            return false;
        const std::uint8_t tag = data[at];
        const std::size_t length = data[at + 1];
        at += 2;
        if (length > size - at)
            return false;
        if (seen.test(tag))
            return false;
        seen.set(tag);
        if (!visit(Item{tag, data + at, length}))
            return false;
        at += length;
    }
    return true;
}

std::uint32_t readAddress(const Item& item) {
    return (std::uint32_t{item.value[0]} << 24) | (std::uint32_t{item.value[1]} << 16) |
           (std::uint32_t{item.value[2]} << 8) | std::uint32_t{item.value[3]};
}

// Cut to the field, stopped at an embedded NUL, always terminated.
void copyText(char* field, std::size_t fieldSize, const Item& item) {
    const std::size_t size =
        framework::BoundedText(reinterpret_cast<const char*>(item.value),
                               item.size < fieldSize - 1 ? item.size : fieldSize - 1)
            .size();
    std::memcpy(field, item.value, size);
    std::memset(field + size, 0, fieldSize - size);
}

// Fixed-size items must have exactly their size.
bool readAddressItem(const Item& item, std::uint32_t& value) {
    if (item.size != 4)
        return false;
    value = readAddress(item);
    return true;
}

bool readMac(const Item& item, std::uint8_t* mac) {
    if (item.size != 6)
        return false;
    std::memcpy(mac, item.value, 6);
    return true;
}

bool readByte(const Item& item, std::uint8_t& value) {
    if (item.size != 1)
        return false;
    value = item.value[0];
    return true;
}

bool hasAll(const std::bitset<256>& seen, std::initializer_list<Tag> tags) {
    for (Tag tag : tags)
        if (!seen.test(tag))
            return false;
    return true;
}

}  // namespace

std::optional<Header> decodeHeader(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize || size > kMaxDatagram)
        return std::nullopt;
    if (data[0] != kMagic0 || data[1] != kMagic1 || data[2] != kWireVersion)
        return std::nullopt;
    const auto type = static_cast<MessageType>(data[3]);
    switch (type) {
    case MessageType::ScanRequest:
    case MessageType::ConfigureRequest:
    case MessageType::WinkRequest:
    case MessageType::ScanAnswer:
    case MessageType::ConfigureResult:
        break;
    default:
        return std::nullopt;
    }
    const std::uint32_t id = std::uint32_t{data[4]} | (std::uint32_t{data[5]} << 8) |
                             (std::uint32_t{data[6]} << 16) | (std::uint32_t{data[7]} << 24);
    return Header{type, id};
}

Datagram encodeScanRequest(std::uint32_t id) {
    return Writer(MessageType::ScanRequest, id).take();
}

Datagram encodeWinkRequest(std::uint32_t id, const Mac& mac) {
    Writer writer(MessageType::WinkRequest, id);
    writer.bytes(kTagMac, mac.data(), mac.size());
    return writer.take();
}

Datagram encodeScanAnswer(std::uint32_t id, const ZOVA_ModuleScanResponseType& a) {
    Writer w(MessageType::ScanAnswer, id);
    if (a.bMacAddrValid)
        w.bytes(kTagMac, a.abMacAddr, 6);
    const std::uint8_t protocol[2] = {a.bProtocolVersionMajor, a.bProtocolVersionMinor};
    w.bytes(kTagProtocolVersion, protocol, 2);
    if (a.bTypeValid)
        w.text(kTagType, a.szType, sizeof a.szType);
    if (a.bFwVersionValid) {
        const std::uint8_t firmware[4] = {a.bFwVersionMajor, a.bFwVersionMinor,
                                          static_cast<std::uint8_t>(a.wFwBuild),
                                          static_cast<std::uint8_t>(a.wFwBuild >> 8)};
        w.bytes(kTagFirmware, firmware, 4);
    }
    if (a.bIpAddrValid)
        w.address(kTagIpAddr, a.dwIpAddr);
    if (a.bSubnetMaskValid)
        w.address(kTagSubnetMask, a.dwSubnetMask);
    if (a.bGatewayValid)
        w.address(kTagGateway, a.dwGateway);
    if (a.bDhcpValid)
        w.byte(kTagDhcp, a.bDhcpOn);
    if (a.bPasswordValid)
        w.byte(kTagPasswordOn, a.bPasswordOn);
    if (a.bHostnameValid)
        w.text(kTagHostname, a.szHostname, sizeof a.szHostname);
    if (a.bPrimaryDnsValid)
        w.address(kTagPrimaryDns, a.dwPrimaryDns);
    if (a.bSecondaryDnsValid)
        w.address(kTagSecondaryDns, a.dwSecondaryDns);
    if (a.bPasswordSaltValid)
        w.text(kTagPasswordSalt, a.szPasswordSalt, sizeof a.szPasswordSalt);
    return w.take();
}

Datagram encodeConfigureRequest(std::uint32_t id, const ZOVA_ConfigureRequestType& r) {
    Writer w(MessageType::ConfigureRequest, id);
    w.bytes(kTagMac, r.abMacAddr, 6);
    w.text(kTagPassword, r.szPassword, sizeof r.szPassword);
    if (r.bChangePassword == 1)
        w.text(kTagNewPassword, r.szNewPassword, sizeof r.szNewPassword);
    w.address(kTagIpAddr, r.dwIpAddr);
    w.address(kTagSubnetMask, r.dwSubnetMask);
    w.address(kTagGateway, r.dwGateway);
    w.byte(kTagDhcp, r.bDhcpOn);
    w.text(kTagHostname, r.szHostname, sizeof r.szHostname);
    w.address(kTagPrimaryDns, r.dwPrimaryDns);
    w.address(kTagSecondaryDns, r.dwSecondaryDns);
    return w.take();
}

Datagram encodeConfigureResult(std::uint32_t id, const ConfigureResult& result) {
    Writer w(MessageType::ConfigureResult, id);
    w.bytes(kTagMac, result.mac.data(), result.mac.size());
    w.byte(kTagOutcome, static_cast<std::uint8_t>(result.outcome));
    return w.take();
}

bool decodeScanRequest(const std::uint8_t* data, std::size_t size) {
    return forEachItem(data, size, MessageType::ScanRequest, [](const Item&) { return true; });
}

std::optional<Mac> decodeWinkRequest(const std::uint8_t* data, std::size_t size) {
    Mac mac{};
    bool hasMac = false;
    const bool ok = forEachItem(data, size, MessageType::WinkRequest, [&](const Item& item) {
        if (item.tag != kTagMac)
            return true;
        hasMac = true;
        return readMac(item, mac.data());
    });
    if (!ok || !hasMac)
        return std::nullopt;
    return mac;
}

std::optional<ZOVA_ModuleScanResponseType> decodeScanAnswer(const std::uint8_t* data,
                                                            std::size_t size) {
    ZOVA_ModuleScanResponseType a{};
    const bool ok = forEachItem(data, size, MessageType::ScanAnswer, [&](const Item& item) {
        switch (item.tag) {
        case kTagMac:
            a.bMacAddrValid = 1;
            return readMac(item, a.abMacAddr);
        case kTagProtocolVersion:
            if (item.size != 2)
                return false;
            a.bProtocolVersionMajor = item.value[0];
            a.bProtocolVersionMinor = item.value[1];
            return true;
        case kTagType:
            a.bTypeValid = 1;
            copyText(a.szType, sizeof a.szType, item);
            return true;
        case kTagFirmware:
            if (item.size != 4)
                return false;
            a.bFwVersionValid = 1;
            a.bFwVersionMajor = item.value[0];
            a.bFwVersionMinor = item.value[1];
            a.wFwBuild = static_cast<std::uint16_t>(item.value[2] | (item.value[3] << 8));
            return true;
        case kTagIpAddr:
            a.bIpAddrValid = 1;
            return readAddressItem(item, a.dwIpAddr);
        case kTagSubnetMask:
            a.bSubnetMaskValid = 1;
            return readAddressItem(item, a.dwSubnetMask);
        case kTagGateway:
            a.bGatewayValid = 1;
            return readAddressItem(item, a.dwGateway);
        case kTagDhcp:
            a.bDhcpValid = 1;
            return readByte(item, a.bDhcpOn);
        case kTagPasswordOn:
            a.bPasswordValid = 1;
            return readByte(item, a.bPasswordOn);
        case kTagHostname:
            a.bHostnameValid = 1;
            copyText(a.szHostname, sizeof a.szHostname, item);
            return true;
        case kTagPrimaryDns:
            a.bPrimaryDnsValid = 1;
            return readAddressItem(item, a.dwPrimaryDns);
        case kTagSecondaryDns:
            a.bSecondaryDnsValid = 1;
            return readAddressItem(item, a.dwSecondaryDns);
        case kTagPasswordSalt:
            a.bPasswordSaltValid = 1;
            copyText(a.szPasswordSalt, sizeof a.szPasswordSalt, item);
            return true;
        default:
            return true;
        }
    });
    if (!ok)
        return std::nullopt;
    return a;
}

std::optional<ZOVA_ConfigureRequestType> decodeConfigureRequest(const std::uint8_t* data,
                                                                std::size_t size) {
    ZOVA_ConfigureRequestType r{};
    std::bitset<256> seen;
    const bool ok = forEachItem(data, size, MessageType::ConfigureRequest, [&](const Item& item) {
        seen.set(item.tag);
        switch (item.tag) {
        case kTagMac:
            return readMac(item, r.abMacAddr);
        case kTagPassword:
            copyText(r.szPassword, sizeof r.szPassword, item);
            return true;
        case kTagNewPassword:
            r.bChangePassword = 1;
            copyText(r.szNewPassword, sizeof r.szNewPassword, item);
            return true;
        case kTagIpAddr:
            return readAddressItem(item, r.dwIpAddr);
        case kTagSubnetMask:
            return readAddressItem(item, r.dwSubnetMask);
        case kTagGateway:
            return readAddressItem(item, r.dwGateway);
        case kTagDhcp:
            return readByte(item, r.bDhcpOn);
        case kTagHostname:
            copyText(r.szHostname, sizeof r.szHostname, item);
            return true;
        case kTagPrimaryDns:
            return readAddressItem(item, r.dwPrimaryDns);
        case kTagSecondaryDns:
            return readAddressItem(item, r.dwSecondaryDns);
        default:
            return true;
        }
    });
    // A device must never apply half a configuration.
    if (!ok || !hasAll(seen, {kTagMac, kTagPassword, kTagIpAddr, kTagSubnetMask, kTagGateway,
                              kTagDhcp, kTagHostname, kTagPrimaryDns, kTagSecondaryDns}))
        return std::nullopt;
    return r;
}

std::optional<ConfigureResult> decodeConfigureResult(const std::uint8_t* data, std::size_t size) {
    ConfigureResult result{};
    bool hasMac = false;
    bool hasOutcome = false;
    const bool ok = forEachItem(data, size, MessageType::ConfigureResult, [&](const Item& item) {
        switch (item.tag) {
        case kTagMac:
            hasMac = true;
            return readMac(item, result.mac.data());
        case kTagOutcome: {
            std::uint8_t value = 0;
            if (!readByte(item, value) || value > 1)
                return false;
            hasOutcome = true;
            result.outcome = static_cast<ConfigureOutcome>(value);
            return true;
        }
        default:
            return true;
        }
    });
    if (!ok || !hasMac || !hasOutcome)
        return std::nullopt;
    return result;
}

}  // namespace zova::wire
