#include "devicelist/SortRules.h"

#include "framework/Text.h"

#include <cstdint>
#include <cstring>

namespace devicelist {

namespace {

// One text being read octet by octet.
class OctetReader {
public:
    explicit OctetReader(const char* text) : m_pos(text), m_end(text + std::strlen(text)) {}

    int Read() const { return framework::ParseDecimal(std::string_view(m_pos, m_end - m_pos)); }

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

int CompareDottedQuads(const char* a, const char* b) {
    OctetReader readerA(a);
    OctetReader readerB(b);
    std::uint32_t valueA = 0;
    std::uint32_t valueB = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            readerA.SkipPastDot();
            readerB.SkipPastDot();
        }
        const int octetA = readerA.Read();
        if (octetA > 255)
            return -1;
        const int octetB = readerB.Read();
        if (octetB > 255)
            return 1;
        valueA = AddOctet(valueA, octetA);
        valueB = AddOctet(valueB, octetB);
    }
    // A text with fewer than three dots ("N/A") goes after every address, as
    // the text comparison puts it when it is the first of the pair; so the
    // order of such a pair does not depend on which row the sort asks first.
    if (readerA.Complete() != readerB.Complete())
        return readerA.Complete() ? -1 : 1;
    if (!readerA.Complete())
        return 0;
    if (valueA != valueB)
        return valueA < valueB ? -1 : 1;
    return 0;
}

SortState NextSortState(SortState current, int clicked) {
    if (clicked == current.column)
        return {clicked, !current.ascending};
    return {clicked, true};
}

int CompareCells(const char* t1, const char* t2, bool ascending, TextComparer compareText) {
    if (IsDottedQuad(t1))
        return ascending ? CompareDottedQuads(t1, t2) : CompareDottedQuads(t2, t1);
    return ascending ? compareText(t1, t2) : compareText(t2, t1);
}

}  // namespace devicelist
