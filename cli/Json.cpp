#include "cli/Json.h"

#include <cstdio>

namespace cli {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned{byte});
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

}  // namespace cli
