// The datagrams that zova.dll and the devices exchange (docs/protocol.md).
//
// Plain C++ on purpose: the library, the simulator and the native tests share
// one codec. Every decoder takes a pointer and a length, trusts nothing in
// between, and writes its result only when the whole datagram was valid.
#ifndef VANTREL_ZOVADLL_WIRE_H
#define VANTREL_ZOVADLL_WIRE_H

#include "base/Address.h"
#include "zova/zova.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zova::wire {

constexpr std::uint16_t kDevicePort = 17400;
constexpr std::size_t kHeaderSize = 8;
// Larger than any valid datagram; a longer one is malformed.
constexpr std::size_t kMaxDatagram = 1024;

enum class MessageType : std::uint8_t {
    ScanRequest = 0x01,
    ConfigureRequest = 0x02,
    WinkRequest = 0x03,
    ScanAnswer = 0x81,
    ConfigureResult = 0x82,
};

enum class ConfigureOutcome : std::uint8_t {
    Accepted = 0,
    WrongPassword = 1,
};

using Datagram = std::vector<std::uint8_t>;

// The items of a scan answer, in the order an answer carries them.
enum class AnswerItem : std::uint8_t {
    Mac,
    ProtocolVersion,
    Type,
    Firmware,
    IpAddr,
    SubnetMask,
    Gateway,
    Dhcp,
    PasswordOn,
    Hostname,
    PrimaryDns,
    SecondaryDns,
    PasswordSalt,
};

constexpr std::size_t kAnswerItemCount = 13;

// Clears an item out of a record: its value zero and its validity byte 0,
// as it arrives from a device that does not report it. The protocol version
// has no validity byte (a device always sends it), so it stays.
void ForgetItem(ZOVA_ModuleScanResponseType& answer, AnswerItem item);

struct Header {
    MessageType type;
    std::uint32_t id;  // chosen by the requester, echoed in the result
};

struct ConfigureResult {
    base::Mac mac;
    ConfigureOutcome outcome;
};

// An encoder whose items would not fit a datagram (kMaxDatagram, 255 bytes
// an item) gives an empty one; the records' fields never come near.
Datagram EncodeScanRequest(std::uint32_t id);
Datagram EncodeWinkRequest(std::uint32_t id, const base::Mac& mac);
// Carries every item whose validity byte is nonzero, and nothing else.
Datagram EncodeScanAnswer(std::uint32_t id, const ZOVA_ModuleScanResponseType& answer);
// The new password travels only when bChangePassword is 1.
Datagram EncodeConfigureRequest(std::uint32_t id, const ZOVA_ConfigureRequestType& request);
Datagram EncodeConfigureResult(std::uint32_t id, const ConfigureResult& result);

// Magic, wire version and a known type; nothing about the body.
std::optional<Header> DecodeHeader(const std::uint8_t* data, std::size_t size);

// Unreported items come out with validity 0 and a zero value; texts are cut
// to their field and always terminated.
std::optional<ZOVA_ModuleScanResponseType> DecodeScanAnswer(const std::uint8_t* data,
                                                            std::size_t size);
std::optional<ZOVA_ConfigureRequestType> DecodeConfigureRequest(const std::uint8_t* data,
                                                                std::size_t size);
std::optional<base::Mac> DecodeWinkRequest(const std::uint8_t* data, std::size_t size);
std::optional<ConfigureResult> DecodeConfigureResult(const std::uint8_t* data, std::size_t size);
// A scan request has no body; this checks that there is none to misread.
bool DecodeScanRequest(const std::uint8_t* data, std::size_t size);

}  // namespace zova::wire

#endif  // VANTREL_ZOVADLL_WIRE_H
