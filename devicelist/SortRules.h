// Ordering of the device list: how two cells compare and how a header click
// changes the sort. Plain logic; the list control supplies the texts.
#ifndef VANTREL_DEVICELIST_SORTRULES_H
#define VANTREL_DEVICELIST_SORTRULES_H

namespace devicelist {

// True when the text holds only digits and '.', with exactly three dots
// ("1..2.3" and "1.2.3." count; "", "1.2.3" and "1.2.3.4 " do not).
bool IsDottedQuad(const char* text);

// Three-way comparison of two texts read as IPv4 addresses: -1, 0 or +1.
// Octets are read alternately (a1, b1, a2, b2, ...); the first octet above 255
// decides at once (-1 if it belongs to a, +1 if to b). Otherwise the two
// 32-bit values compare unsigned. Neither text is read past its terminator, so
// b may be anything, "N/A" included; a text that runs out of octets reads the
// missing ones as 0, which puts "N/A" (0.0.0.0) before every address.
int CompareDottedQuads(const char* a, const char* b);

// Which column the rows are sorted by, and in which direction.
struct SortState {
    int column = 0;
    bool ascending = true;
};

// The state after a click on column `clicked`: the same column flips the
// direction, another column starts ascending.
SortState NextSortState(SortState current, int clicked);

// Locale-aware text comparison supplied by the platform (lstrcmpA in the
// tool: pass a captureless lambda that calls it).
using TextComparer = int (*)(const char* a, const char* b);

// The order of two cells of the sort column: negative when t1's row goes
// first. Only t1 decides whether the pair compares as addresses; descending
// swaps the operands rather than negating the result.
int CompareCells(const char* t1, const char* t2, bool ascending, TextComparer compareText);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_SORTRULES_H
