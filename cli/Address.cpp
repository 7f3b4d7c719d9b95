#include "cli/Address.h"

#include "base/Address.h"

#include <cstdio>

namespace cli {

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned{byte});
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "'";
}

bool CheckTarget(const std::optional<std::string>& value, std::string& error) {
    if (!value)
        return true;
    const std::string& text = *value;
    const std::string named = "ZOVA_TARGET " + Quoted(text) + ": ";
    const char example[] = " (such as 127.0.0.1:17400)";
    // The library reads the variable into 64 bytes.
    if (text.empty()) {
        error = std::string(
                    "ZOVA_TARGET is set but empty; unset it to reach the network, or give "
                    "ADDRESS:PORT") +
                example;
        return false;
    }
    if (text.size() > 63) {
        error = named + "longer than 63 characters";
        return false;
    }
    if (text.rfind(':') == std::string::npos) {
        error = named + "not ADDRESS:PORT" + example;
        return false;
    }
    const std::size_t colon = text.rfind(':');
    const std::string address = text.substr(0, colon), port = text.substr(colon + 1);
    if (!base::ParseIpv4(address)) {
        error = named + Quoted(address) + " is not a dotted IPv4 address";
        return false;
    }
    const bool digits = !port.empty() && port.size() <= 5 &&
                        port.find_first_not_of("0123456789") == std::string::npos;
    const long number = digits ? std::stol(port) : 0;
    if (number < 1 || number > 65535) {
        error = named + "the port is a number from 1 to 65535, not " + Quoted(port);
        return false;
    }
    return true;
}

}  // namespace cli
