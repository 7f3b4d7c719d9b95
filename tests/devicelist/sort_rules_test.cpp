#include "devicelist/SortRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
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

int ByteCompare(const char* a, const char* b) {
    return std::strcmp(a, b);
}

std::vector<std::string> Sorted(std::vector<std::string> texts, bool ascending) {
    std::stable_sort(texts.begin(), texts.end(), [&](const std::string& x, const std::string& y) {
        return CompareCells(x.c_str(), y.c_str(), ascending, ByteCompare) < 0;
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

TEST(SortRules, DescendingSwapsOperandsInsteadOfNegating) {
    static std::string seen;
    const TextComparer recorder = [](const char* a, const char* b) {
        seen = std::string(a) + "|" + b;
        return 7;
    };
    EXPECT_EQ(CompareCells("N/A", "1.2.3.4", true, recorder), 7);  // only t1 is tested
    EXPECT_EQ(seen, "N/A|1.2.3.4");
    EXPECT_EQ(CompareCells("Off", "On", false, recorder), 7);
    EXPECT_EQ(seen, "On|Off");
    // Both out of range: the first operand read decides, in either direction.
    EXPECT_EQ(CompareCells("300.0.0.1", "400.0.0.1", true, recorder), -1);
    EXPECT_EQ(CompareCells("300.0.0.1", "400.0.0.1", false, recorder), -1);
}

// The list compares keys made once per cell; they must give what the texts
// give for every pair, in both directions. Catches a key that reads a text
// otherwise (signs, blanks, long digit runs, missing or extra dots, empty
// octets), a lost one-sided case (only t1 decides whether a pair compares as
// addresses), ties and the swap of operands when descending.
TEST(SortRules, KeyedComparisonGivesWhatTheTextsGiveForEveryPair) {
    std::vector<std::string> texts = {
        "",
        "N/A",
        "On",
        "Off",
        "0.0.0.0",
        "1.2.3.4",
        "1.2.3.4.5",
        "1.2.3",
        "1..2.3",
        "1.2.3.",
        "...",
        "300.0.0.1",
        "1.2.3.999",
        "256.0.0.0",
        "-1.0.0.0",
        " 7.1.1.1",
        "+7.1.1.1",
        "7.1.1.1 ",
        "1.09.0",
        "2.123.0",
        "2.99.0",
        "3.00.65535",
        "N/A.1.2.3",
        "9.1.1.1",
        "10.0.0.1",
        "128.0.0.1",
        "127.255.255.255",
        "255.255.255.255",
        "02-6B-D4-0A-FF-01",
        "IO-Link master 8-port",
        std::string(40, '9') + ".0.0.0",
        "1.2.3." + std::string(40, '9'),
    };
    // Addresses of every shape from octets that matter, and random texts of
    // the characters an octet reader meets.
    const char* const octets[] = {"",    "0",   "1",   "9",  "10", "127", "128",
                                  "255", "256", "999", "-1", " 3", "+4",  "x"};
    std::mt19937 random(7);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int i = 0; i < 400; ++i) {
        std::string text = octets[pick(std::size(octets))];
        for (int dot = 0, dots = 1 + static_cast<int>(pick(4)); dot < dots; ++dot)
            text += std::string(".") + octets[pick(std::size(octets))];
        texts.push_back(text);
    }
    const std::string alphabet = "0123456789....  -+NA/o";
    for (int i = 0; i < 200; ++i) {
        std::string text(pick(12), ' ');
        for (char& c : text)
            c = alphabet[pick(alphabet.size())];
        texts.push_back(text);
    }
    const TextComparer sign = [](const char* a, const char* b) {
        const int order = std::strcmp(a, b);
        return (order > 0) - (order < 0);
    };
    const TextKeyMaker bytes = [](const char* text) { return std::string(text); };
    std::vector<CellKey> keys;
    for (const std::string& text : texts)
        keys.push_back(MakeCellKey(Exact(text).data(), bytes));

    int differing = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = 0; j < texts.size(); ++j) {
            const char* t1 = texts[i].c_str();
            const char* t2 = texts[j].c_str();
            const int quads = CompareDottedQuads(t1, t2);
            const int up = CompareCells(t1, t2, true, sign);
            const int down = CompareCells(t1, t2, false, sign);
            if (CompareQuadKeys(keys[i].quad, keys[j].quad) != quads ||
                CompareCellKeys(keys[i], keys[j], true) != up ||
                CompareCellKeys(keys[i], keys[j], false) != down) {
                if (++differing <= 10)
                    ADD_FAILURE() << '"' << t1 << "\" vs \"" << t2 << '"';
            }
        }
    }
    EXPECT_EQ(differing, 0) << "of " << texts.size() * texts.size() << " pairs";
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
