// Dotted IPv4 addresses as the records hold them (first octet in the most
// significant byte), and MAC addresses as a script writes them.
#ifndef VANTREL_CLI_ADDRESS_H
#define VANTREL_CLI_ADDRESS_H

#include <cstdint>
#include <string>

namespace cli {

// "a.b.c.d": four decimal numbers 0 to 255, nothing else. False otherwise.
bool ParseAddress(const std::string& text, std::uint32_t& address);

std::string AddressText(std::uint32_t address);

// A MAC address: six pairs of hex digits, separated by '-' or ':'.
bool ParseMac(const std::string& text, std::uint8_t (&mac)[6]);

}  // namespace cli

#endif  // VANTREL_CLI_ADDRESS_H
