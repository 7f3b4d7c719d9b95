// Ordering of the device list: how two cells compare and how a header click
// changes the sort. Plain logic; the list control supplies the texts.
#ifndef VANTREL_DEVICELIST_SORTRULES_H
#define VANTREL_DEVICELIST_SORTRULES_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace devicelist {

// True when the text holds only digits and '.', with exactly three dots
// ("1..2.3" and "1.2.3." count; "", "1.2.3" and "1.2.3.4 " do not).
bool IsDottedQuad(const char* text);

// What CompareDottedQuads reads of one text. It depends on that text alone,
// so the list works it out once, when the row is stored.
struct QuadKey {
    std::uint32_t value = 0;         // the octets' low 8 bits, the first highest
    std::uint8_t firstOverflow = 4;  // the first octet above 255 (0 to 3), or 4
    bool complete = false;           // the text has the three dots of four octets
};

QuadKey ReadQuadKey(const char* text);
// CompareDottedQuads(a, b) for the texts a and b were read from.
int CompareQuadKeys(const QuadKey& a, const QuadKey& b);

// Three-way comparison of two texts read as IPv4 addresses: -1, 0 or +1.
// Octets are read alternately (a1, b1, a2, b2, ...); the first octet above 255
// decides at once (-1 if it belongs to a, +1 if to b). Otherwise the two
// 32-bit values compare unsigned. Neither text is read past its terminator, so
// b may be anything, "N/A" included: a text with fewer than three dots goes
// after every address and ties with any other such text.
int CompareDottedQuads(const char* a, const char* b);

// Which column the rows are sorted by, and in which direction.
struct SortState {
    int column = 0;
    bool ascending = true;
};

// The state after a click on column `clicked`: the same column flips the
// direction, another column starts ascending.
SortState NextSortState(SortState current, int clicked);

// The platform's sort key of a text: two keys compared byte by byte order
// their texts as the platform's text comparison does (LCMapStringA's sort
// key in the tool, under the locale lstrcmpA uses).
using TextKeyMaker = std::string (*)(const char* text);

// Everything the cell comparison reads of one cell, worked out once.
struct CellKey {
    bool dottedQuad = false;  // whether the pair compares as addresses when this cell is t1
    QuadKey quad;
    std::string text;  // the platform's sort key of the text
};

CellKey MakeCellKey(const char* text, TextKeyMaker makeTextKey);
// The order of two cells of the sort column: negative when k1's row goes
// first. Only k1 decides whether the pair compares as addresses; otherwise
// the texts compare by their sort keys (-1, 0 or +1, as lstrcmpA gives).
// Descending swaps the operands rather than negating the result.
int CompareCellKeys(const CellKey& k1, const CellKey& k2, bool ascending);

// Whether CompareCellKeys ranks the cells of one column: every pair, in
// either direction, compares as ranks do (addresses by value, then the other
// texts by sort key, all after the addresses; descending reversed), so that
// they have one sorted order up to ties. It holds when no address has an
// octet above 255 and, where addresses and other texts meet, every other
// text reads as an address cut short (fewer than three dots, no octet above
// 255) and sorts after every address as text ("N/A" beside addresses).
class ColumnRanking {
public:
    void Add(const CellKey& key);
    void Clear() { *this = ColumnRanking(); }
    bool Ranked() const;

private:
    std::size_t quads_ = 0;
    std::size_t unrankedQuads_ = 0;  // with an octet above 255
    std::size_t others_ = 0;
    std::size_t unrankedOthers_ = 0;  // read as a whole address, or past 255
    std::string highestQuadText_;
    std::string lowestOtherText_;
};

// Where a cell goes among count cells of a ranked column already in order
// (keyAt(i) the cell at row i): after the last cell it ties with, which is
// where a stable sort leaves a row appended at the end.
int RankedPlace(int count, const std::function<const CellKey&(int)>& keyAt, const CellKey& key,
                bool ascending);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_SORTRULES_H
