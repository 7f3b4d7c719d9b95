#include "simulator/JsonLine.h"

#include <cstdio>

namespace devsim {
namespace {

// Texts come off the network: every byte that JSON does not allow raw is
// escaped, and bytes above 127 pass as \u00XX so the line stays valid UTF-8.
void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace

void JsonLine::Key(std::string_view name) {
    if (!body_.empty())
        body_ += ',';
    AppendQuoted(body_, name);
    body_ += ':';
}

JsonLine& JsonLine::Add(std::string_view name, std::string_view text) {
    Key(name);
    AppendQuoted(body_, text);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, std::uint64_t number) {
    Key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::Add(std::string_view name, bool flag) {
    Key(name);
    body_ += flag ? "true" : "false";
    return *this;
}

}  // namespace devsim
