#include "cli/Encoding.h"

namespace cli {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else
            return false;
        if (i + length > text.size())
            return false;
        if (length > 1) {
            const unsigned char second = static_cast<unsigned char>(text[i + 1]);
            if (second < low || second > high)
                return false;
            for (std::size_t k = 2; k < length; ++k)
                if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
                    return false;
        }
        i += length;
    }
    return true;
}

bool DropBom(std::string& text) {
    if (text.compare(0, kUtf8Bom.size(), kUtf8Bom) != 0)
        return false;
    text.erase(0, kUtf8Bom.size());
    return true;
}

std::string TrimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    for (;;) {
        if (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        else if (text.substr(0, kNoBreakSpace.size()) == kNoBreakSpace)
            text.remove_prefix(kNoBreakSpace.size());
        else
            break;
    }
    // C2, the no-break space's first byte, never ends another character.
    for (;;) {
        if (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
        else if (text.size() >= kNoBreakSpace.size() &&
                 text.substr(text.size() - kNoBreakSpace.size()) == kNoBreakSpace)
            text.remove_suffix(kNoBreakSpace.size());
        else
            break;
    }
    return std::string(text);
}

}  // namespace cli
