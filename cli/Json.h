// JSON text values.
#ifndef VANTREL_CLI_JSON_H
#define VANTREL_CLI_JSON_H

#include <string>

namespace cli {

// text as a JSON string: quotes, backslashes and control characters escaped;
// bytes above 127 as \u00XX, since a device's texts carry no encoding.
std::string JsonString(const std::string& text);

}  // namespace cli

#endif  // VANTREL_CLI_JSON_H
