// The library's target as the user sets it, and texts as messages quote
// and list them.
#ifndef VANTREL_CLI_ADDRESS_H
#define VANTREL_CLI_ADDRESS_H

#include <optional>
#include <string>
#include <vector>

namespace cli {

// text with its control bytes as \xNN: a device's or a user's text that
// goes to the terminal can neither move the cursor nor start a sequence.
std::string Escaped(const std::string& text);

// 'text' in single quotes, escaped, so that a message shows blanks and what
// the terminal would hide.
std::string Quoted(const std::string& text);

// "a and b", "a, b and c".
std::string ListText(const std::vector<std::string>& items);

// ZOVA_TARGET as zova.dll reads it (no value: not set), with the library's
// own parser. The library refuses to start, without a word, on a value that
// is set and is not "a.b.c.d:port" with a port from 1 to 65535 in at most 63
// characters; error then says what is wrong with it.
bool CheckTarget(const std::optional<std::string>& value, std::string& error);

}  // namespace cli

#endif  // VANTREL_CLI_ADDRESS_H
