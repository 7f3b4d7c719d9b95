// One JSON object on one line, built field by field, for the request log.
#ifndef VANTREL_SIMULATOR_JSONLINE_H
#define VANTREL_SIMULATOR_JSONLINE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace devsim {

class JsonLine {
public:
    JsonLine& Add(std::string_view key, std::string_view text);
    JsonLine& Add(std::string_view key, const char* text) {
        return Add(key, std::string_view(text));
    }
    JsonLine& Add(std::string_view key, std::uint64_t number);
    JsonLine& Add(std::string_view key, bool flag);
    std::string Str() const { return "{" + body_ + "}"; }

private:
    void Key(std::string_view name);
    std::string body_;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_JSONLINE_H
