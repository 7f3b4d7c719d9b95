#include "devicelist/SortRules.h"

#include "base/Text.h"

#include <cstdint>
#include <cstring>

namespace devicelist {

namespace {

// One text being read octet by octet.
class OctetReader {
public:
    explicit OctetReader(const char* text) : m_pos(text), m_end(text + std::strlen(text)) {}

    int Read() const { return base::ParseDecimal(std::string_view(m_pos, m_end - m_pos)); }

    // Moves just past the next '.', or to the end when there is none; such a
    // text is not an address.
    void SkipPastDot() {
        const void* dot = std::memchr(m_pos, '.', m_end - m_pos);
        if (dot) {
            m_pos = static_cast<const char*>(dot) + 1;
        } else {
            m_pos = m_end;
            m_complete = false;
        }
    }

    bool Complete() const { return m_complete; }

private:
    const char* m_pos;
    const char* m_end;
    bool m_complete = true;
};

std::uint32_t AddOctet(std::uint32_t value, int octet) {
    return (value << 8) | (static_cast<std::uint32_t>(octet) & 0xFFu);
}

}  // namespace

bool IsDottedQuad(const char* text) {
    int dots = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p < '0' || *p > '9')
            return false;
    }
    return dots == 3;
}

QuadKey ReadQuadKey(const char* text) {
    OctetReader reader(text);
    QuadKey key;
    for (std::uint8_t octet = 0; octet < 4; ++octet) {
        if (octet > 0)
            reader.SkipPastDot();
        const int value = reader.Read();
        if (value > 255) {
            // Decides every comparison on its own: nothing after it is read.
            key.firstOverflow = octet;
            return key;
        }
        key.value = AddOctet(key.value, value);
    }
    key.complete = reader.Complete();
    return key;
}

int CompareQuadKeys(const QuadKey& a, const QuadKey& b) {
    // The reads alternate a1, b1, a2, b2, ...: the earlier octet above 255
    // decides, a's when both are the same octet.
    if (a.firstOverflow < 4 || b.firstOverflow < 4)
        return a.firstOverflow <= b.firstOverflow ? -1 : 1;
    // A text with fewer than three dots ("N/A") goes after every address, as
    // the text comparison puts it when it is the first of the pair; so the
    // order of such a pair does not depend on which row the sort asks first.
    if (a.complete != b.complete)
        return a.complete ? -1 : 1;
    if (!a.complete || a.value == b.value)
        return 0;
    return a.value < b.value ? -1 : 1;
}

int CompareDottedQuads(const char* a, const char* b) {
    return CompareQuadKeys(ReadQuadKey(a), ReadQuadKey(b));
}

SortState NextSortState(SortState current, int clicked) {
    if (clicked == current.column)
        return {clicked, !current.ascending};
    return {clicked, true};
}

CellKey MakeCellKey(const char* text, TextKeyMaker makeTextKey) {
    CellKey key;
    key.dottedQuad = IsDottedQuad(text);
    key.quad = ReadQuadKey(text);
    key.text = makeTextKey(text);
    return key;
}

int CompareCellKeys(const CellKey& k1, const CellKey& k2, bool ascending) {
    const CellKey& first = ascending ? k1 : k2;
    const CellKey& second = ascending ? k2 : k1;
    if (k1.dottedQuad)
        return CompareQuadKeys(first.quad, second.quad);
    const int order = first.text.compare(second.text);
    return (order > 0) - (order < 0);
}

void ColumnRanking::Add(const CellKey& key) {
    if (key.dottedQuad) {
        unrankedQuads_ += key.quad.firstOverflow < 4 ? 1 : 0;
        if (quads_++ == 0 || key.text > highestQuadText_)
            highestQuadText_ = key.text;
    } else {
        unrankedOthers_ += key.quad.firstOverflow < 4 || key.quad.complete ? 1 : 0;
        if (others_++ == 0 || key.text < lowestOtherText_)
            lowestOtherText_ = key.text;
    }
}

bool ColumnRanking::Ranked() const {
    if (unrankedQuads_ > 0)
        return false;
    if (quads_ == 0 || others_ == 0)
        return true;
    // Where an address meets another text, both orders of the pair must put
    // the text after it: read as addresses, and compared as texts.
    return unrankedOthers_ == 0 && lowestOtherText_ > highestQuadText_;
}

int RankedPlace(int count, const std::function<const CellKey&(int)>& keyAt, const CellKey& key,
                bool ascending) {
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareCellKeys(keyAt(middle), key, ascending) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace devicelist
