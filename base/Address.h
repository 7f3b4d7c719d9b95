// Network addresses as values and as text, one way each: a MAC address as six
// bytes, an IPv4 address as one number whose most significant byte is the
// first dotted octet (as the device records hold it).
#ifndef VANTREL_BASE_ADDRESS_H
#define VANTREL_BASE_ADDRESS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// The records keep a MAC in a six-byte field; the plain code in this.
using Mac = std::array<std::uint8_t, 6>;

// The six bytes from `bytes` on: a record's abMacAddr, a DHCP chaddr.
Mac MacFrom(const std::uint8_t* bytes);

// The six bytes as one number, the first one most significant: a key for
// hashing that orders as the bytes do.
std::uint64_t MacKey(const Mac& mac);

// "02-6B-D4-10-00-01": upper-case hex pairs joined by '-', as the device list
// shows a MAC and everything else writes one.
std::string MacText(const Mac& mac);

// Exactly `count` pairs of hex digits (either case), each after the first
// preceded by one character of `separators`, and nothing else. `out` is
// written only when the whole text reads.
bool ParseHexPairs(std::string_view text, std::string_view separators, std::uint8_t* out,
                   std::size_t count);

// A MAC as a person types it: six hex pairs separated by '-' or ':'.
std::optional<Mac> ParseMac(std::string_view text);

// The four bytes from `bytes` on, in wire order: a DHCP address field.
std::uint32_t Ipv4From(const std::uint8_t* bytes);

// "192.168.0.1".
std::string Ipv4Text(std::uint32_t address);

// Four decimal numbers of one to three digits, each 0 to 255, separated by
// '.', and nothing else: no blanks, no signs, no names to look up.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

}  // namespace base

#endif  // VANTREL_BASE_ADDRESS_H
