// The main window's layout arithmetic (its effect on the real dialog is
// tested under Wine with the dialog itself).
#include "app/Layout.h"

#include <gtest/gtest.h>

#include <string>

using namespace app;

namespace {

const int kClientWidth = 646;
const int kClientHeight = 301;

// The main template's controls at 96 dpi, in ControlLayout::kControls order.
const LayoutRect kFirst[ControlLayout::kControlCount] = {
    {11, 11, 641, 261},    // list
    {15, 268, 128, 291},   // Advanced Options
    {375, 268, 450, 291},  // Wink
    {287, 268, 362, 291},  // File
    {465, 268, 540, 291},  // Scan
    {555, 268, 630, 291},  // Exit
};

std::string Describe(int index) {
    return "control " + std::to_string(ControlLayout::kControls[index].id);
}

ControlLayout Recorded() {
    ControlLayout layout;
    for (int i = 0; i < ControlLayout::kControlCount; ++i) {
        layout.Record(i, kFirst[i], kClientWidth, kClientHeight);
    }
    return layout;
}

TEST(ControlLayout, EachControlFollowsItsAnchoringForAnyClientSize) {
    const ControlLayout layout = Recorded();
    const int sizes[][2] = {{0, 0}, {100, 50}, {-20, 10}, {400, 700}, {1920, 1080}};
    for (const auto& size : sizes) {
        const int dx = size[0], dy = size[1];
        for (int i = 0; i < ControlLayout::kControlCount; ++i) {
            SCOPED_TRACE(Describe(i) + " grown by " + std::to_string(dx) + ", " +
                         std::to_string(dy));
            const LayoutRect& f = kFirst[i];
            LayoutRect expected{};
            switch (ControlLayout::kControls[i].anchoring) {
            case Anchoring::AllEdges:
                expected = {f.left, f.top, f.right + dx, f.bottom + dy};
                break;
            case Anchoring::BottomLeft:
                expected = {f.left, f.top + dy, f.right, f.bottom + dy};
                break;
            case Anchoring::BottomRight:
                expected = {f.left + dx, f.top + dy, f.right + dx, f.bottom + dy};
                break;
            }
            const LayoutRect placed = layout.Place(i, kClientWidth + dx, kClientHeight + dy);
            EXPECT_EQ(placed, expected)
                << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
        }
    }
}

TEST(ClampToMinimumSize, DraggedEdgeStopsAndOppositeEdgesStay) {
    struct Case {
        int edge;
        LayoutRect proposed;
        LayoutRect expected;
    };
    // Proposed rectangles 50 x 40, below both limits.
    const Case cases[] = {
        {kSizingLeft, {450, 100, 500, 140}, {306, 100, 500, 230}},
        {kSizingRight, {100, 100, 150, 140}, {100, 100, 294, 230}},
        {kSizingTop, {100, 450, 150, 490}, {100, 360, 294, 490}},
        {kSizingBottom, {100, 100, 150, 140}, {100, 100, 294, 230}},
        {kSizingTopLeft, {450, 450, 500, 490}, {306, 360, 500, 490}},
        {kSizingTopRight, {100, 450, 150, 490}, {100, 360, 294, 490}},
        {kSizingBottomLeft, {450, 100, 500, 140}, {306, 100, 500, 230}},
        {kSizingBottomRight, {100, 100, 150, 140}, {100, 100, 294, 230}},
        // Only one dimension too small: the other is left alone.
        {kSizingLeft, {450, 100, 500, 400}, {306, 100, 500, 400}},
        {kSizingTop, {100, 450, 600, 490}, {100, 360, 600, 490}},
        // At or above the minimum: unchanged, whatever the edge.
        {kSizingTopLeft, {0, 0, 194, 130}, {0, 0, 194, 130}},
        {kSizingBottomRight, {-10, -10, 800, 600}, {-10, -10, 800, 600}},
        // Inverted (negative) sizes are below the minimum too.
        {kSizingRight, {100, 100, 90, 90}, {100, 100, 294, 230}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("edge " + std::to_string(c.edge) + " proposed " +
                     std::to_string(c.proposed.left) + "," + std::to_string(c.proposed.top) + "," +
                     std::to_string(c.proposed.right) + "," + std::to_string(c.proposed.bottom));
        LayoutRect r = c.proposed;
        ClampToMinimumSize(c.edge, r);
        EXPECT_EQ(r, c.expected) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
