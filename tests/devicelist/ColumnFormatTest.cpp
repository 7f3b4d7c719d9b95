#include "base/Text.h"
#include "devicelist/ColumnFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

using namespace devicelist;

namespace {

std::string Describe(const std::vector<ColumnFormat>& columns) {
    std::ostringstream out;
    for (const auto& c : columns)
        out << '[' << c.heading << '|' << c.width << ']';
    return out.str();
}

}  // namespace

TEST(ColumnFormat, Parse) {
    const struct {
        const char* format;
        const char* columns;
    } cases[] = {
        {"IP,90;SN,90;GW,90;DHCP,50;Version,50;Type,114;MAC,115",
         "[IP|90][SN|90][GW|90][DHCP|50][Version|50][Type|114][MAC|115]"},
        {"", ""},
        {"X,40", "[X|40]"},
        {"A;B,10", "[A;B|10]"},
        {"IP,90;Extra", "[IP|90]"},
        {",50", "[|50]"},
        {"Name,", "[Name|0]"},
        {"Name,abc", "[Name|0]"},
        {"Name,12px", "[Name|12]"},
        {"A,1;", "[A|1]"},
        {"A,1;;B,2", "[A|1][;B|2]"},
        {"A, 7;B,-3", "[A|7][B|-3]"},
        {"A,1,2;B,3", "[A|1][B|3]"},  // the width text runs to the ';'
        {"Wide,99999999999999999999", "[Wide|2147483647]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(ParseColumnFormat(c.format)), c.columns) << '"' << c.format << '"';
}

TEST(LeadingInt, ReadsLikeAtoiWithoutOverflow) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {" \t\n+12", 12},
        {"-7x", -7},
        {"- 7", 0},
        {"+-7", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
        {"0000000000000000000256", 256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}
