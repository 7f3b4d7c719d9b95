#include "simulator/JsonLine.h"

#include "base/Text.h"

namespace devsim {

void JsonLine::Key(std::string_view name) {
    if (!body_.empty())
        body_ += ',';
    body_ += base::JsonQuoted(name, base::JsonHighBytes::kLatin1);
    body_ += ':';
}

JsonLine& JsonLine::Add(std::string_view name, std::string_view text) {
    Key(name);
    // Texts come off the network as bytes: each above 127 passes as \u00XX,
    // so the line stays valid UTF-8 whatever arrived.
    body_ += base::JsonQuoted(text, base::JsonHighBytes::kLatin1);
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
