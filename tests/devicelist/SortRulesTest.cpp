#include "devicelist/SortRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace devicelist;

namespace {

// The text in a heap block of exactly its size, so a read past the
// terminator is caught by the address sanitizer.
std::vector<char> Exact(const std::string& text) {
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

// Two cells as the list compares them, with the texts' bytes for sort keys.
int Compare(const std::string& t1, const std::string& t2, bool ascending) {
    const TextKeyMaker bytes = [](const char* text) { return std::string(text); };
    return CompareCellKeys(MakeCellKey(Exact(t1).data(), bytes),
                           MakeCellKey(Exact(t2).data(), bytes), ascending);
}

std::vector<std::string> Sorted(std::vector<std::string> texts, bool ascending) {
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& x, const std::string& y) {
        return Compare(x, y, ascending) < 0;
    });
    return texts;
}

}  // namespace

TEST(SortRules, IsDottedQuad) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"192.168.0.1", true},
        {"1..2.3", true},
        {"1.2.3.", true},
        {"...", true},
        {"", false},
        {"1.2.3", false},
        {"1.2.3.4.5", false},
        {"1.2.3.4 ", false},
        {"N/A", false},
        {"1.2.3.-4", false},
        {"02-6B-D4-0A-FF-01", false},
        {"1.09.0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDottedQuad(Exact(c.text).data()), c.expected) << '"' << c.text << '"';
}

TEST(SortRules, CompareDottedQuads) {
    const std::string huge(5000, '9');
    const struct {
        std::string a, b;
        int expected;
    } cases[] = {
        {"192.168.0.1", "192.168.0.1", 0},
        {"9.1.1.1", "10.0.0.1", -1},
        {"192.168.0.10", "192.168.0.9", 1},
        {"128.0.0.1", "127.255.255.255", 1},  // unsigned: high first octets go last
        {"300.0.0.1", "1.2.3.4", -1},         // an octet above 255 decides at once
        {"1.2.3.4", "300.0.0.1", 1},
        {"1.2.3.999", "256.0.0.0", 1},     // b's first octet is read before a's fourth
        {huge + ".0.0.0", "1.2.3.4", -1},  // no overflow: still above 255
        {"1.2.3.4", "1.2.3." + huge, 1},
        {"1..2.3", "1.0.2.3", 0},  // empty octets read 0
        {"1.2.3.", "1.2.3.0", 0},
        {"1.2.3.4", "1.2.3.4.5", 0},  // nothing after the fourth octet counts
        {"1.2.3.4", "-1.0.0.0", -1},  // a signed octet keeps its low 8 bits: 255
        {"0.0.0.0", "N/A", -1},       // texts that are no address go last
        {"N/A", "0.0.0.0", 1},
        {"1.2.3.4", "", -1},
        {"1.2.3.4", "1.2.3", -1},
        {"1.2.3.4", huge, 1},  // above 255 before the missing dot counts
        {"1.2.3.4", std::string(5000, '0') + "1", -1},
        {"N/A", "N/A", 0},
        {"", "", 0},
        {"N/A", "300.0.0.0", 1},  // an octet above 255 beats a missing dot
    };
    for (const auto& c : cases) {
        const auto a = Exact(c.a), b = Exact(c.b);
        EXPECT_EQ(CompareDottedQuads(a.data(), b.data()), c.expected)
            << '"' << c.a.substr(0, 20) << "\" vs \"" << c.b.substr(0, 20) << '"';
    }
}

TEST(SortRules, ColumnsSortAscendingAndExactlyReversedDescending) {
    const struct {
        std::vector<std::string> ascending;
    } cases[] = {
        {{"9.1.1.1", "10.0.0.1", "192.168.0.9", "192.168.0.10", "200.0.0.1", "N/A"}},
        {{"1.09.0", "1.10.2", "2.123.0", "2.99.0", "N/A"}},  // versions compare as text
        {{"N/A", "Off", "On"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> shuffled(c.ascending.rbegin(), c.ascending.rend());
        std::rotate(shuffled.begin(), shuffled.begin() + 1, shuffled.end());
        EXPECT_EQ(Sorted(shuffled, true), c.ascending) << c.ascending.front();
        EXPECT_EQ(Sorted(shuffled, false),
                  std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()))
            << c.ascending.front();
    }
}

// The rules' one-sided case: whether a pair compares as addresses is the
// first cell's alone, so (a, b) and (b, a) may disagree; the list's sort
// must see the same results as ever.
TEST(SortRules, OnlyTheFirstCellDecidesAndDescendingSwapsOperands) {
    EXPECT_EQ(Compare("1.2.3.4", "1.2.3.4x", true), 0) << "as addresses: the x is not read";
    EXPECT_EQ(Compare("1.2.3.4x", "1.2.3.4", true), 1) << "as texts";
    EXPECT_EQ(Compare("1.2.3.4", "1.2.3.4x", false), 0);
    EXPECT_EQ(Compare("1.2.3.4x", "1.2.3.4", false), -1);
    EXPECT_EQ(Compare("Off", "On", true), -1);
    EXPECT_EQ(Compare("Off", "On", false), 1);
    // Both out of range: the first operand read decides, in either direction.
    EXPECT_EQ(Compare("300.0.0.1", "400.0.0.1", true), -1);
    EXPECT_EQ(Compare("300.0.0.1", "400.0.0.1", false), -1);
}

// The list places a new row by binary search only in a ranked column; a
// column taken for ranked whose comparisons are not a ranking could put it
// elsewhere than the full sort. Catches Ranked() admitting such a column:
// in every ranked set, in both directions, a pair and its reverse must
// disagree exactly (ties both ways) and the order must be transitive.
TEST(SortRules, ARankedColumnComparesAsARankingInBothDirections) {
    const struct {
        std::vector<std::string> cells;
        bool ranked;
    } cases[] = {
        {{"10.0.0.1", "9.0.0.1", "10.0.0.1"}, true},    // addresses alone, ties too
        {{"10.0.0.1", "9.0.0.1", "N/A", "N/A"}, true},  // "N/A" after every address
        {{"1.05.300", "1.05.2", "N/A", "Off"}, true},   // texts only: octets are not read
        {{"1.2.3.4", "Off"}, true},
        {{"1.2.3.4", "1.2.3.4x"}, false},  // the text reads as the same address
        {{"1.2.3.4", " x"}, false},        // the text sorts before the address
        {{"1.2.3.4", "999"}, false},       // the text reads as an octet above 255
        {{"300.1.1.1"}, false},            // it goes before even itself
        {{}, true},
    };
    for (const auto& c : cases) {
        ColumnRanking ranking;
        for (const std::string& cell : c.cells)
            ranking.Add(MakeCellKey(cell.c_str(), [](const char* t) { return std::string(t); }));
        EXPECT_EQ(ranking.Ranked(), c.ranked) << c.cells.size() << " cells from " << c.cells[0];
    }

    const std::vector<std::string> pool = {
        "",        "N/A",     "Off",     "On",       " x",        "999",     "1.2.3.4x",
        "1.2.3.4", "1.2.3.5", "9.0.0.1", "10.0.0.1", "128.0.0.1", "0.0.0.0", "300.1.1.1",
        "1..2.3",  "1.2.3.",  "1.2",     "1.05.2",   "1.05.300",  "a.b.c.d", "02-6B-D4-0A-FF-01"};
    std::mt19937 random(5);
    int ranked = 0;
    for (int set = 0; set < 20000; ++set) {
        std::vector<CellKey> keys;
        ColumnRanking ranking;
        for (int n = 2 + static_cast<int>(random() % 4); n > 0; --n) {
            keys.push_back(MakeCellKey(pool[random() % pool.size()].c_str(),
                                       [](const char* t) { return std::string(t); }));
            ranking.Add(keys.back());
        }
        if (!ranking.Ranked())
            continue;
        ++ranked;
        for (const bool ascending : {true, false}) {
            for (const CellKey& a : keys) {
                for (const CellKey& b : keys) {
                    const int ab = CompareCellKeys(a, b, ascending);
                    ASSERT_EQ(ab, -CompareCellKeys(b, a, ascending));
                    for (const CellKey& c : keys) {
                        const int bc = CompareCellKeys(b, c, ascending);
                        if (ab <= 0 && bc <= 0)
                            ASSERT_LE(CompareCellKeys(a, c, ascending),
                                      std::min(ab, bc) < 0 ? -1 : 0);
                    }
                }
            }
        }
    }
    EXPECT_GT(ranked, 2000) << "ranked sets met";
}

// Catches a row placed one off, before a tie or among its equals (a stable
// sort leaves a row appended at the end after every row it ties with), or
// at the wrong end descending.
TEST(SortRules, RankedPlaceIsAfterTheLastTie) {
    const auto bytes = [](const char* t) { return std::string(t); };
    std::vector<CellKey> up;
    for (const char* cell : {"1.0.0.1", "1.0.0.3", "1.0.0.3", "N/A", "N/A"})
        up.push_back(MakeCellKey(cell, bytes));
    const std::vector<CellKey> down(up.rbegin(), up.rend());
    const struct {
        const char* cell;
        bool ascending;
        int place;
    } cases[] = {
        {"1.0.0.0", true, 0},  {"1.0.0.1", true, 1},  {"1.0.0.2", true, 1},  {"1.0.0.3", true, 3},
        {"1.0.0.4", true, 3},  {"N/A", true, 5},      {"N/A", false, 2},     {"1.0.0.4", false, 2},
        {"1.0.0.3", false, 4}, {"1.0.0.2", false, 4}, {"1.0.0.1", false, 5}, {"1.0.0.0", false, 5},
    };
    for (const auto& c : cases) {
        const std::vector<CellKey>& keys = c.ascending ? up : down;
        EXPECT_EQ(RankedPlace(
                      5, [&](int i) -> const CellKey& { return keys[static_cast<std::size_t>(i)]; },
                      MakeCellKey(c.cell, bytes), c.ascending),
                  c.place)
            << c.cell << (c.ascending ? " ascending" : " descending");
    }
    EXPECT_EQ(RankedPlace(
                  0, [&](int i) -> const CellKey& { return up[static_cast<std::size_t>(i)]; },
                  MakeCellKey("1.0.0.2", bytes), true),
              0);
}

TEST(SortRules, ClickRule) {
    const struct {
        int clicked;
        int column;
        bool ascending;
    } steps[] = {
        {0, 0, false}, {6, 6, true}, {6, 6, false}, {6, 6, true}, {3, 3, true}, {0, 0, true},
    };
    SortState state;  // column 0 ascending at start-up
    for (const auto& s : steps) {
        state = NextSortState(state, s.clicked);
        EXPECT_EQ(state.column, s.column) << "click on " << s.clicked;
        EXPECT_EQ(state.ascending, s.ascending) << "click on " << s.clicked;
    }
}
