#include "devicelist/HeaderGeometry.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace devicelist;

namespace {

const Rect kItem{100, 0, 200, 20};  // o = 5
constexpr unsigned kPressed = 1;    // ODS_SELECTED

std::string Describe(const Rect& r) {
    std::ostringstream out;
    out << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
    return out.str();
}

std::string Describe(const std::vector<Polyline>& lines) {
    std::ostringstream out;
    for (const auto& line : lines) {
        out << (line.pen == Pen::Light ? "light" : "dark");
        for (const auto& p : line.points)
            out << " (" << p.x << ',' << p.y << ')';
        out << ';';
    }
    return out.str();
}

}  // namespace

TEST(HeaderGeometry, TextRectangleAndTriangle) {
    const struct {
        const char* name;
        Rect item;
        unsigned state;
        bool sort, ascending;
        const char* text;
        bool drawn;
        const char* triangle;
    } cases[] = {
        {"sort ascending", kItem, 0, true, true, "105,0,180,20", true,
         "light (190,5) (195,14) (183,14);dark (184,14) (190,4);"},
        {"sort descending", kItem, 0, true, false, "105,0,180,20", true,
         "light (194,5) (189,15);dark (188,15) (184,5) (194,5);"},
        {"other item", kItem, 0, false, true, "105,0,195,20", true, ""},
        {"pressed", kItem, kPressed, true, true, "106,2,181,20", true,
         "light (190,5) (195,14) (183,14);dark (184,14) (190,4);"},
        {"pressed and focused", kItem, kPressed | 0x10, false, true, "105,0,195,20", true, ""},
        {"lower than 4 pixels",
         {10, 0, 60, 3},
         0,
         true,
         true,
         "10,0,60,3",
         true,
         "light (60,0) (60,2) (58,2);dark (59,2) (60,-1);"},
        {"sort column 5o wide",
         {100, 0, 125, 20},
         0,
         true,
         true,
         "105,0,105,20",
         false,
         "light (115,5) (120,14) (108,14);dark (109,14) (115,4);"},
        {"sort column 5o+1 wide",
         {100, 0, 126, 20},
         0,
         true,
         true,
         "105,0,106,20",
         true,
         "light (116,5) (121,14) (109,14);dark (110,14) (116,4);"},
        {"other item 2o wide", {100, 0, 110, 20}, 0, false, true, "105,0,105,20", false, ""},
    };
    for (const auto& c : cases) {
        const HeaderItemLayout layout = LayoutHeaderItem(c.item, c.state, c.sort, c.ascending, 0);
        EXPECT_EQ(Describe(layout.text), c.text) << c.name;
        EXPECT_EQ(layout.drawText, c.drawn) << c.name;
        EXPECT_EQ(Describe(layout.triangle), c.triangle) << c.name;
    }
}

TEST(HeaderGeometry, TextFormatKeepsAlignment) {
    const struct {
        int headerFormat;
        unsigned textFormat;
    } cases[] = {
        {0x0000, 0x8924},  // left
        {0x0001, 0x8926},  // HDF_RIGHT: DT_RIGHT
        {0x0002, 0x8925},  // HDF_CENTER: DT_CENTER
        {0x0003, 0x8925},  // centre wins
        {0x8001, 0x8926},  // HDF_OWNERDRAW does not matter
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutHeaderItem(kItem, 0, true, true, c.headerFormat).textFormat, c.textFormat)
            << "header format " << c.headerFormat;
}
