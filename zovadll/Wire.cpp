#include "zovadll/Wire.h"

#include "base/Text.h"

#include <bitset>
#include <cstddef>
#include <cstring>
#include <iterator>

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

using Record = ZOVA_ModuleScanResponseType;

// How an item's value travels.
enum class Form : std::uint8_t {
    Bytes,     // as the record holds them
    Address,   // a record address, first octet first
    Firmware,  // major, minor, then the 16-bit build little-endian
    Text,      // up to the first NUL, cut to the record's field
};

// The protocol version has no validity byte: a device always sends it.
constexpr std::size_t kAlwaysSent = sizeof(Record);

// One item of a scan answer: its tag, and where its value and validity byte
// sit in the record. Encoding, decoding and forgetItem all read this table.
struct ItemLayout {
    AnswerItem item;
    Tag tag;
    Form form;
    std::size_t offset;    // of the value
    std::size_t size;      // of the value; of the whole field for text
    std::size_t validity;  // of the validity byte, or kAlwaysSent
};

constexpr ItemLayout kAnswerItems[] = {
    {AnswerItem::Mac, kTagMac, Form::Bytes, offsetof(Record, abMacAddr), 6,
     offsetof(Record, bMacAddrValid)},
    {AnswerItem::ProtocolVersion, kTagProtocolVersion, Form::Bytes,
     offsetof(Record, bProtocolVersionMajor), 2, kAlwaysSent},
    {AnswerItem::Type, kTagType, Form::Text, offsetof(Record, szType), sizeof(Record::szType),
     offsetof(Record, bTypeValid)},
    {AnswerItem::Firmware, kTagFirmware, Form::Firmware, offsetof(Record, bFwVersionMajor), 4,
     offsetof(Record, bFwVersionValid)},
    {AnswerItem::IpAddr, kTagIpAddr, Form::Address, offsetof(Record, dwIpAddr), 4,
     offsetof(Record, bIpAddrValid)},
    {AnswerItem::SubnetMask, kTagSubnetMask, Form::Address, offsetof(Record, dwSubnetMask), 4,
     offsetof(Record, bSubnetMaskValid)},
    {AnswerItem::Gateway, kTagGateway, Form::Address, offsetof(Record, dwGateway), 4,
     offsetof(Record, bGatewayValid)},
    {AnswerItem::Dhcp, kTagDhcp, Form::Bytes, offsetof(Record, bDhcpOn), 1,
     offsetof(Record, bDhcpValid)},
    {AnswerItem::PasswordOn, kTagPasswordOn, Form::Bytes, offsetof(Record, bPasswordOn), 1,
     offsetof(Record, bPasswordValid)},
    {AnswerItem::Hostname, kTagHostname, Form::Text, offsetof(Record, szHostname),
     sizeof(Record::szHostname), offsetof(Record, bHostnameValid)},
    {AnswerItem::PrimaryDns, kTagPrimaryDns, Form::Address, offsetof(Record, dwPrimaryDns), 4,
     offsetof(Record, bPrimaryDnsValid)},
    {AnswerItem::SecondaryDns, kTagSecondaryDns, Form::Address, offsetof(Record, dwSecondaryDns), 4,
     offsetof(Record, bSecondaryDnsValid)},
    {AnswerItem::PasswordSalt, kTagPasswordSalt, Form::Text, offsetof(Record, szPasswordSalt),
     sizeof(Record::szPasswordSalt), offsetof(Record, bPasswordSaltValid)},
};
static_assert(std::size(kAnswerItems) == kAnswerItemCount, "one layout per item");

constexpr bool InItemOrder() {
    for (std::size_t i = 0; i < kAnswerItemCount; ++i) {
        if (kAnswerItems[i].item != static_cast<AnswerItem>(i))
            return false;
    }
    return true;
}
static_assert(InItemOrder(), "kAnswerItems[item] describes item");

// Appends items after a header; an item longer than its length byte holds,
// or one that would make the datagram longer than any receiver takes, spoils
// the whole datagram, which then comes out empty. The records' fields are
// far too small for either, but the check costs nothing and holds in every
// build.
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
    void Bytes(Tag tag, const std::uint8_t* value, std::size_t size) {
        if (size > 255 || kMaxDatagram - out_.size() < 2 + size) {
            spoiled_ = true;
            return;
        }
        out_.push_back(tag);
        out_.push_back(static_cast<std::uint8_t>(size));
        out_.insert(out_.end(), value, value + size);
    }
    void Byte(Tag tag, std::uint8_t value) { Bytes(tag, &value, 1); }
    void Address(Tag tag, std::uint32_t value) {
        const std::uint8_t octets[4] = {
            static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        Bytes(tag, octets, 4);
    }
    // Up to the first NUL and never more than the receiving field can hold.
    void Text(Tag tag, const char* field, std::size_t fieldSize) {
        const std::size_t size = base::BoundedText(field, fieldSize - 1).size();
        Bytes(tag, reinterpret_cast<const std::uint8_t*>(field), size);
    }
    Datagram Take() { return spoiled_ ? Datagram() : std::move(out_); }

private:
    Datagram out_;
    bool spoiled_ = false;
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
bool ForEachItem(const std::uint8_t* data, std::size_t size, MessageType expected, Visit&& visit) {
    const auto header = DecodeHeader(data, size);
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

std::uint32_t ReadAddress(const Item& item) {
    return (std::uint32_t{item.value[0]} << 24) | (std::uint32_t{item.value[1]} << 16) |
           (std::uint32_t{item.value[2]} << 8) | std::uint32_t{item.value[3]};
}

// Cut to the field, stopped at an embedded NUL, always terminated.
void CopyText(char* field, std::size_t fieldSize, const Item& item) {
    const std::size_t size =
        base::BoundedText(reinterpret_cast<const char*>(item.value),
                          item.size < fieldSize - 1 ? item.size : fieldSize - 1)
            .size();
    std::memcpy(field, item.value, size);
    std::memset(field + size, 0, fieldSize - size);
}

// Fixed-size items must have exactly their size.
bool ReadAddressItem(const Item& item, std::uint32_t& value) {
    if (item.size != 4)
        return false;
    value = ReadAddress(item);
    return true;
}

bool ReadMac(const Item& item, std::uint8_t* mac) {
    if (item.size != 6)
        return false;
    std::memcpy(mac, item.value, 6);
    return true;
}

bool ReadByte(const Item& item, std::uint8_t& value) {
    if (item.size != 1)
        return false;
    value = item.value[0];
    return true;
}

bool HasAll(const std::bitset<256>& seen, std::initializer_list<Tag> tags) {
    for (Tag tag : tags)
        if (!seen.test(tag))
            return false;
    return true;
}

const ItemLayout* LayoutOf(std::uint8_t tag) {
    for (const ItemLayout& item : kAnswerItems) {
        if (item.tag == tag)
            return &item;
    }
    return nullptr;
}

}  // namespace

std::optional<Header> DecodeHeader(const std::uint8_t* data, std::size_t size) {
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

Datagram EncodeScanRequest(std::uint32_t id) {
    return Writer(MessageType::ScanRequest, id).Take();
}

Datagram EncodeWinkRequest(std::uint32_t id, const base::Mac& mac) {
    Writer writer(MessageType::WinkRequest, id);
    writer.Bytes(kTagMac, mac.data(), mac.size());
    return writer.Take();
}

Datagram EncodeScanAnswer(std::uint32_t id, const ZOVA_ModuleScanResponseType& answer) {
    Writer w(MessageType::ScanAnswer, id);
    const auto* record = reinterpret_cast<const std::uint8_t*>(&answer);
    for (const ItemLayout& item : kAnswerItems) {
        if (item.validity != kAlwaysSent && !record[item.validity])
            continue;
        const std::uint8_t* value = record + item.offset;
        switch (item.form) {
        case Form::Bytes:
            w.Bytes(item.tag, value, item.size);
            break;
        case Form::Address: {
            std::uint32_t address = 0;
            std::memcpy(&address, value, sizeof address);
            w.Address(item.tag, address);
            break;
        }
        case Form::Firmware: {
            std::uint16_t build = 0;
            std::memcpy(&build, value + 2, sizeof build);
            const std::uint8_t firmware[4] = {value[0], value[1], static_cast<std::uint8_t>(build),
                                              static_cast<std::uint8_t>(build >> 8)};
            w.Bytes(item.tag, firmware, 4);
            break;
        }
        case Form::Text:
            w.Text(item.tag, reinterpret_cast<const char*>(value), item.size);
            break;
        }
    }
    return w.Take();
}

Datagram EncodeConfigureRequest(std::uint32_t id, const ZOVA_ConfigureRequestType& r) {
    Writer w(MessageType::ConfigureRequest, id);
    w.Bytes(kTagMac, r.abMacAddr, 6);
    w.Text(kTagPassword, r.szPassword, sizeof r.szPassword);
    if (r.bChangePassword == 1)
        w.Text(kTagNewPassword, r.szNewPassword, sizeof r.szNewPassword);
    w.Address(kTagIpAddr, r.dwIpAddr);
    w.Address(kTagSubnetMask, r.dwSubnetMask);
    w.Address(kTagGateway, r.dwGateway);
    w.Byte(kTagDhcp, r.bDhcpOn);
    w.Text(kTagHostname, r.szHostname, sizeof r.szHostname);
    w.Address(kTagPrimaryDns, r.dwPrimaryDns);
    w.Address(kTagSecondaryDns, r.dwSecondaryDns);
    return w.Take();
}

Datagram EncodeConfigureResult(std::uint32_t id, const ConfigureResult& result) {
    Writer w(MessageType::ConfigureResult, id);
    w.Bytes(kTagMac, result.mac.data(), result.mac.size());
    w.Byte(kTagOutcome, static_cast<std::uint8_t>(result.outcome));
    return w.Take();
}

bool DecodeScanRequest(const std::uint8_t* data, std::size_t size) {
    return ForEachItem(data, size, MessageType::ScanRequest, [](const Item&) { return true; });
}

std::optional<base::Mac> DecodeWinkRequest(const std::uint8_t* data, std::size_t size) {
    base::Mac mac{};
    bool hasMac = false;
    const bool ok = ForEachItem(data, size, MessageType::WinkRequest, [&](const Item& item) {
        if (item.tag != kTagMac)
            return true;
        hasMac = true;
        return ReadMac(item, mac.data());
    });
    if (!ok || !hasMac)
        return std::nullopt;
    return mac;
}

std::optional<ZOVA_ModuleScanResponseType> DecodeScanAnswer(const std::uint8_t* data,
                                                            std::size_t size) {
    ZOVA_ModuleScanResponseType answer{};
    auto* record = reinterpret_cast<std::uint8_t*>(&answer);
    const bool ok = ForEachItem(data, size, MessageType::ScanAnswer, [&](const Item& wire) {
        const ItemLayout* item = LayoutOf(wire.tag);
        if (!item)
            return true;
        std::uint8_t* value = record + item->offset;
        switch (item->form) {
        case Form::Bytes:
            if (wire.size != item->size)
                return false;
            std::memcpy(value, wire.value, item->size);
            break;
        case Form::Address: {
            std::uint32_t address = 0;
            if (!ReadAddressItem(wire, address))
                return false;
            std::memcpy(value, &address, sizeof address);
            break;
        }
        case Form::Firmware: {
            if (wire.size != 4)
                return false;
            const auto build = static_cast<std::uint16_t>(wire.value[2] | (wire.value[3] << 8));
            value[0] = wire.value[0];
            value[1] = wire.value[1];
            std::memcpy(value + 2, &build, sizeof build);
            break;
        }
        case Form::Text:
            CopyText(reinterpret_cast<char*>(value), item->size, wire);
            break;
        }
        if (item->validity != kAlwaysSent)
            record[item->validity] = 1;
        return true;
    });
    if (!ok)
        return std::nullopt;
    return answer;
}

void ForgetItem(ZOVA_ModuleScanResponseType& answer, AnswerItem which) {
    const ItemLayout& item = kAnswerItems[static_cast<std::size_t>(which)];
    if (item.validity == kAlwaysSent)
        return;
    auto* record = reinterpret_cast<std::uint8_t*>(&answer);
    std::memset(record + item.offset, 0, item.size);
    record[item.validity] = 0;
}

std::optional<ZOVA_ConfigureRequestType> DecodeConfigureRequest(const std::uint8_t* data,
                                                                std::size_t size) {
    ZOVA_ConfigureRequestType r{};
    std::bitset<256> seen;
    const bool ok = ForEachItem(data, size, MessageType::ConfigureRequest, [&](const Item& item) {
        seen.set(item.tag);
        switch (item.tag) {
        case kTagMac:
            return ReadMac(item, r.abMacAddr);
        case kTagPassword:
            CopyText(r.szPassword, sizeof r.szPassword, item);
            return true;
        case kTagNewPassword:
            r.bChangePassword = 1;
            CopyText(r.szNewPassword, sizeof r.szNewPassword, item);
            return true;
        case kTagIpAddr:
            return ReadAddressItem(item, r.dwIpAddr);
        case kTagSubnetMask:
            return ReadAddressItem(item, r.dwSubnetMask);
        case kTagGateway:
            return ReadAddressItem(item, r.dwGateway);
        case kTagDhcp:
            return ReadByte(item, r.bDhcpOn);
        case kTagHostname:
            CopyText(r.szHostname, sizeof r.szHostname, item);
            return true;
        case kTagPrimaryDns:
            return ReadAddressItem(item, r.dwPrimaryDns);
        case kTagSecondaryDns:
            return ReadAddressItem(item, r.dwSecondaryDns);
        default:
            return true;
        }
    });
    // A device must never apply half a configuration.
    if (!ok || !HasAll(seen, {kTagMac, kTagPassword, kTagIpAddr, kTagSubnetMask, kTagGateway,
                              kTagDhcp, kTagHostname, kTagPrimaryDns, kTagSecondaryDns}))
        return std::nullopt;
    return r;
}

std::optional<ConfigureResult> DecodeConfigureResult(const std::uint8_t* data, std::size_t size) {
    ConfigureResult result{};
    bool hasMac = false;
    bool hasOutcome = false;
    const bool ok = ForEachItem(data, size, MessageType::ConfigureResult, [&](const Item& item) {
        switch (item.tag) {
        case kTagMac:
            hasMac = true;
            return ReadMac(item, result.mac.data());
        case kTagOutcome: {
            std::uint8_t value = 0;
            if (!ReadByte(item, value) || value > 1)
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
