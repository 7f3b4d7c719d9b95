#include "cli/Address.h"

#include "zovadll/Endpoint.h"

#include <cstdio>

namespace cli {

std::string Escaped(const std::string& text) {
    std::string out;
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
    return out;
}

std::string Quoted(const std::string& text) {
    return "'" + Escaped(text) + "'";
}

std::string ListText(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
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
    zova::EndpointFault fault{};
    if (zova::ParseEndpoint(text, &fault))
        return true;
    const std::size_t colon = text.rfind(':');
    switch (fault) {
    case zova::EndpointFault::kNoPort:
        error = named + "not ADDRESS:PORT" + example;
        break;
    case zova::EndpointFault::kAddress:
        error = named + Quoted(text.substr(0, colon)) + " is not a dotted IPv4 address";
        break;
    case zova::EndpointFault::kPort:
        error =
            named + "the port is a number from 1 to 65535, not " + Quoted(text.substr(colon + 1));
        break;
    }
    return false;
}

}  // namespace cli
