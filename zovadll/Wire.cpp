#include "zovadll/Wire.h"

#include "base/Address.h"
#include "base/Bytes.h"
#include "base/Text.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
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
using Request = ZOVA_ConfigureRequestType;

// How an item's value travels.
enum class Form : std::uint8_t {
    Bytes,     // as the record holds them
    Address,   // a record address, first octet first
    Firmware,  // major, minor, then the 16-bit build little-endian
    Text,      // up to the first NUL, cut to the record's field
};

// An item without a byte that says whether it is there: always sent, and
// a datagram without it is incomplete.
constexpr std::size_t kAlwaysSent = SIZE_MAX;

// One item of a record: its tag, and where its value and the byte that says
// it is there sit in the record. Encoding and decoding read only these tables.
struct Field {
    Tag tag;
    Form form;
    std::size_t offset;    // of the value
    std::size_t size;      // of the value; of the whole field for text
    std::size_t presence;  // of the validity (or change) byte, or kAlwaysSent
};

struct AnswerField {
    AnswerItem item;
    Field field;
};

// The protocol version has no validity byte: a device always sends it.
constexpr AnswerField kAnswerItems[] = {
    {AnswerItem::Mac,
     {kTagMac, Form::Bytes, offsetof(Record, abMacAddr), 6, offsetof(Record, bMacAddrValid)}},
    {AnswerItem::ProtocolVersion,
     {kTagProtocolVersion, Form::Bytes, offsetof(Record, bProtocolVersionMajor), 2, kAlwaysSent}},
    {AnswerItem::Type,
     {kTagType, Form::Text, offsetof(Record, szType), sizeof(Record::szType),
      offsetof(Record, bTypeValid)}},
    {AnswerItem::Firmware,
     {kTagFirmware, Form::Firmware, offsetof(Record, bFwVersionMajor), 4,
      offsetof(Record, bFwVersionValid)}},
    {AnswerItem::IpAddr,
     {kTagIpAddr, Form::Address, offsetof(Record, dwIpAddr), 4, offsetof(Record, bIpAddrValid)}},
    {AnswerItem::SubnetMask,
     {kTagSubnetMask, Form::Address, offsetof(Record, dwSubnetMask), 4,
      offsetof(Record, bSubnetMaskValid)}},
    {AnswerItem::Gateway,
     {kTagGateway, Form::Address, offsetof(Record, dwGateway), 4, offsetof(Record, bGatewayValid)}},
    {AnswerItem::Dhcp,
     {kTagDhcp, Form::Bytes, offsetof(Record, bDhcpOn), 1, offsetof(Record, bDhcpValid)}},
    {AnswerItem::PasswordOn,
     {kTagPasswordOn, Form::Bytes, offsetof(Record, bPasswordOn), 1,
      offsetof(Record, bPasswordValid)}},
    {AnswerItem::Hostname,
     {kTagHostname, Form::Text, offsetof(Record, szHostname), sizeof(Record::szHostname),
      offsetof(Record, bHostnameValid)}},
    {AnswerItem::PrimaryDns,
     {kTagPrimaryDns, Form::Address, offsetof(Record, dwPrimaryDns), 4,
      offsetof(Record, bPrimaryDnsValid)}},
    {AnswerItem::SecondaryDns,
     {kTagSecondaryDns, Form::Address, offsetof(Record, dwSecondaryDns), 4,
      offsetof(Record, bSecondaryDnsValid)}},
    {AnswerItem::PasswordSalt,
     {kTagPasswordSalt, Form::Text, offsetof(Record, szPasswordSalt),
      sizeof(Record::szPasswordSalt), offsetof(Record, bPasswordSaltValid)}},
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

// The new password travels only with bChangePassword 1; a device must never
// apply half a configuration, so every other item is required.
constexpr Field kRequestItems[] = {
    {kTagMac, Form::Bytes, offsetof(Request, abMacAddr), 6, kAlwaysSent},
    {kTagPassword, Form::Text, offsetof(Request, szPassword), sizeof(Request::szPassword),
     kAlwaysSent},
    {kTagNewPassword, Form::Text, offsetof(Request, szNewPassword), sizeof(Request::szNewPassword),
     offsetof(Request, bChangePassword)},
    {kTagIpAddr, Form::Address, offsetof(Request, dwIpAddr), 4, kAlwaysSent},
    {kTagSubnetMask, Form::Address, offsetof(Request, dwSubnetMask), 4, kAlwaysSent},
    {kTagGateway, Form::Address, offsetof(Request, dwGateway), 4, kAlwaysSent},
    {kTagDhcp, Form::Bytes, offsetof(Request, bDhcpOn), 1, kAlwaysSent},
    {kTagHostname, Form::Text, offsetof(Request, szHostname), sizeof(Request::szHostname),
     kAlwaysSent},
    {kTagPrimaryDns, Form::Address, offsetof(Request, dwPrimaryDns), 4, kAlwaysSent},
    {kTagSecondaryDns, Form::Address, offsetof(Request, dwSecondaryDns), 4, kAlwaysSent},
};

// Appends items after a header; an item longer than its length byte holds,
// or one that would make the datagram longer than any receiver takes, spoils
// the whole datagram, which then comes out empty. The records' fields are
// far too small for either, but the check costs nothing and holds in every
// build.
class Writer {
public:
    Writer(MessageType type, std::uint32_t id) {
        out_.Put(kMagic0);
        out_.Put(kMagic1);
        out_.Put(kWireVersion);
        out_.Put(static_cast<std::uint8_t>(type));
        out_.PutLe32(id);
    }
    void Bytes(Tag tag, const std::uint8_t* value, std::size_t size) {
        if (size > 255) {
            spoiled_ = true;
            return;
        }
        out_.Put(tag);
        out_.Put(static_cast<std::uint8_t>(size));
        out_.Put(value, size);
    }
    void Byte(Tag tag, std::uint8_t value) { Bytes(tag, &value, 1); }
    // The value of one field of record, in its form.
    void Put(const Field& field, const std::uint8_t* record) {
        const std::uint8_t* value = record + field.offset;
        switch (field.form) {
        case Form::Bytes:
            Bytes(field.tag, value, field.size);
            break;
        case Form::Address: {
            std::uint32_t address = 0;
            std::memcpy(&address, value, sizeof address);
            std::uint8_t octets[4] = {};
            base::ByteWriter(octets, sizeof octets).PutIpv4(address);
            Bytes(field.tag, octets, sizeof octets);
            break;
        }
        case Form::Firmware: {
            std::uint16_t build = 0;
            std::memcpy(&build, value + 2, sizeof build);
            std::uint8_t firmware[4] = {value[0], value[1]};
            base::ByteWriter(firmware + 2, 2).PutLe16(build);
            Bytes(field.tag, firmware, sizeof firmware);
            break;
        }
        case Form::Text: {
            // Up to the first NUL and never more than the receiving field can hold.
            const auto* text = reinterpret_cast<const char*>(value);
            Bytes(field.tag, value, base::BoundedText(text, field.size - 1).size());
            break;
        }
        }
    }
    Datagram Take() const {
        if (spoiled_ || out_.Overflowed())
            return Datagram();
        return Datagram(buffer_, buffer_ + out_.Used());
    }

private:
    std::uint8_t buffer_[kMaxDatagram] = {};
    base::ByteWriter out_{buffer_, sizeof buffer_};
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
    base::ByteReader in(data + kHeaderSize, size - kHeaderSize);
    while (in.Remaining() > 0) {
        Item item{};
        std::uint8_t length = 0;
        if (!in.Byte(item.tag) || !in.Byte(length) || !in.Take(length, item.value))
            return false;
        item.size = length;
        if (seen.test(item.tag))
            return false;
        seen.set(item.tag);
        if (!visit(item))
            return false;
    }
    return true;
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

// One item into its field of record, and its presence byte set; fixed-size
// items must have exactly their size.
bool Read(const Field& field, const Item& wire, std::uint8_t* record) {
    std::uint8_t* value = record + field.offset;
    switch (field.form) {
    case Form::Bytes:
        if (wire.size != field.size)
            return false;
        std::memcpy(value, wire.value, field.size);
        break;
    case Form::Address: {
        if (wire.size != 4)
            return false;
        const std::uint32_t address = base::Ipv4From(wire.value);
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
        CopyText(reinterpret_cast<char*>(value), field.size, wire);
        break;
    }
    if (field.presence != kAlwaysSent)
        record[field.presence] = 1;
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

const Field* AnswerFieldOf(std::uint8_t tag) {
    for (const AnswerField& item : kAnswerItems) {
        if (item.field.tag == tag)
            return &item.field;
    }
    return nullptr;
}

const Field* RequestFieldOf(std::uint8_t tag) {
    for (const Field& field : kRequestItems) {
        if (field.tag == tag)
            return &field;
    }
    return nullptr;
}

}  // namespace

std::optional<Header> DecodeHeader(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize || size > kMaxDatagram)
        return std::nullopt;
    base::ByteReader in(data, size);
    std::uint8_t magic0 = 0, magic1 = 0, version = 0, typeByte = 0;
    std::uint32_t id = 0;
    in.Byte(magic0);
    in.Byte(magic1);
    in.Byte(version);
    in.Byte(typeByte);
    in.Le32(id);
    if (magic0 != kMagic0 || magic1 != kMagic1 || version != kWireVersion)
        return std::nullopt;
    const auto type = static_cast<MessageType>(typeByte);
    switch (type) {
    case MessageType::ScanRequest:
    case MessageType::ConfigureRequest:
    case MessageType::WinkRequest:
    case MessageType::ScanAnswer:
    case MessageType::ConfigureResult:
        return Header{type, id};
    }
    return std::nullopt;
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
    for (const AnswerField& item : kAnswerItems) {
        const Field& field = item.field;
        if (field.presence == kAlwaysSent || record[field.presence] != 0)
            w.Put(field, record);
    }
    return w.Take();
}

Datagram EncodeConfigureRequest(std::uint32_t id, const ZOVA_ConfigureRequestType& request) {
    Writer w(MessageType::ConfigureRequest, id);
    const auto* record = reinterpret_cast<const std::uint8_t*>(&request);
    for (const Field& field : kRequestItems) {
        if (field.presence == kAlwaysSent || record[field.presence] == 1)
            w.Put(field, record);
    }
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
        const Field* field = AnswerFieldOf(wire.tag);
        return !field || Read(*field, wire, record);
    });
    if (!ok)
        return std::nullopt;
    return answer;
}

void ForgetItem(ZOVA_ModuleScanResponseType& answer, AnswerItem which) {
    const Field& field = kAnswerItems[static_cast<std::size_t>(which)].field;
    if (field.presence == kAlwaysSent)
        return;
    auto* record = reinterpret_cast<std::uint8_t*>(&answer);
    std::memset(record + field.offset, 0, field.size);
    record[field.presence] = 0;
}

std::optional<ZOVA_ConfigureRequestType> DecodeConfigureRequest(const std::uint8_t* data,
                                                                std::size_t size) {
    ZOVA_ConfigureRequestType request{};
    auto* record = reinterpret_cast<std::uint8_t*>(&request);
    std::bitset<256> seen;
    const bool ok = ForEachItem(data, size, MessageType::ConfigureRequest, [&](const Item& wire) {
        seen.set(wire.tag);
        const Field* field = RequestFieldOf(wire.tag);
        return !field || Read(*field, wire, record);
    });
    if (!ok)
        return std::nullopt;
    for (const Field& field : kRequestItems) {
        if (field.presence == kAlwaysSent && !seen.test(field.tag))
            return std::nullopt;
    }
    return request;
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
