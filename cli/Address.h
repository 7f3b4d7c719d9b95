// Dotted IPv4 addresses as the records hold them (first octet in the most
// significant byte), MAC addresses as a script writes them, the library's
// target as the user sets it, and a user's text as messages quote it.
#ifndef VANTREL_CLI_ADDRESS_H
#define VANTREL_CLI_ADDRESS_H

#include <cstdint>
#include <optional>
#include <string>

namespace cli {

// "a.b.c.d": four decimal numbers 0 to 255, nothing else. False otherwise.
bool ParseAddress(const std::string& text, std::uint32_t& address);

std::string AddressText(std::uint32_t address);

// A MAC address: six pairs of hex digits, separated by '-' or ':'.
bool ParseMac(const std::string& text, std::uint8_t (&mac)[6]);

// The six bytes as one number, for hashing and comparing.
std::uint64_t MacKey(const std::uint8_t (&mac)[6]);

// 'text' in single quotes, control bytes as \xNN, so that a message shows
// blanks and what the terminal would hide.
std::string Quoted(const std::string& text);

// ZOVA_TARGET as zova.dll reads it (no value: not set). The library refuses
// to start, without a word, on a value that is set and is not "a.b.c.d:port"
// with a port from 1 to 65535 in at most 63 characters; error then says what
// is wrong with it.
bool CheckTarget(const std::optional<std::string>& value, std::string& error);

}  // namespace cli

#endif  // VANTREL_CLI_ADDRESS_H
