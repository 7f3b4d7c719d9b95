// Texts between the devices, the console and files: device texts and the
// console are in the system's code page, the CSV and JSON this program writes
// are UTF-8, and a plan may come in either.
#ifndef VANTREL_CLI_ENCODING_H
#define VANTREL_CLI_ENCODING_H

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// The system code page's conversions (the Windows glue gives the real one).
struct CodePage {
    std::string (*toUtf8)(std::string_view text);
    // No value when the text holds a character the code page has not.
    std::optional<std::string> (*fromUtf8)(std::string_view text);
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);

// Drops a UTF-8 byte order mark at the start of text; true when there was one.
bool DropBom(std::string& text);

// UTF-8 text with blanks, tabs and no-break spaces (which spreadsheets put
// into cells) cut from both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace cli

#endif  // VANTREL_CLI_ENCODING_H
