// Two texts, split at the first NUL of the input, through the cell ordering.
#include "devicelist/SortRules.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Exactly sized, so a read past the terminator is caught.
std::vector<char> Text(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t sizeA = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::vector<char> a = Text(data, sizeA);
    const std::vector<char> b = nul ? Text(nul + 1, size - sizeA - 1) : Text(data, 0);

    const int ab = devicelist::CompareDottedQuads(a.data(), b.data());
    const int ba = devicelist::CompareDottedQuads(b.data(), a.data());
    if (ab < -1 || ab > 1 || ba < -1 || ba > 1)
        std::abort();
    // Equal texts tie, unless an octet above 255 makes the first one decide.
    const int aa = devicelist::CompareDottedQuads(a.data(), a.data());
    if (aa != 0 && aa != -1)
        std::abort();
    // The cells as the list compares them.
    const devicelist::TextKeyMaker bytes = [](const char* text) { return std::string(text); };
    const devicelist::CellKey ka = devicelist::MakeCellKey(a.data(), bytes);
    const devicelist::CellKey kb = devicelist::MakeCellKey(b.data(), bytes);
    for (const bool ascending : {true, false}) {
        const int order = devicelist::CompareCellKeys(ka, kb, ascending);
        if (order < -1 || order > 1)
            std::abort();
    }
    return 0;
}
