// One JSON object on one line, built field by field, for the request log.
#ifndef VANTREL_SIMULATOR_JSON_LINE_H
#define VANTREL_SIMULATOR_JSON_LINE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace devsim {

class JsonLine {
public:
    JsonLine& add(std::string_view key, std::string_view text);
    JsonLine& add(std::string_view key, const char* text) {
        return add(key, std::string_view(text));
    }
    JsonLine& add(std::string_view key, std::uint64_t number);
    JsonLine& add(std::string_view key, bool flag);
    std::string str() const { return "{" + body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_JSON_LINE_H
