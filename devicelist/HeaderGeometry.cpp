#include "devicelist/HeaderGeometry.h"

namespace devicelist {

namespace {

// Win32 values, spelled out so this file needs no platform header.
constexpr unsigned kOdsSelected = 0x0001;
constexpr int kHdfRight = 0x0001;
constexpr int kHdfCenter = 0x0002;
constexpr unsigned kDtCenter = 0x0001;
constexpr unsigned kDtRight = 0x0002;
// DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS
constexpr unsigned kDtHeading = 0x8924;

unsigned TextFormat(int headerFormat) {
    if (headerFormat & kHdfCenter)
        return kDtHeading | kDtCenter;
    if (headerFormat & kHdfRight)
        return kDtHeading | kDtRight;
    return kDtHeading;
}

// x from the item's right edge R; y absolute, as header items start at the
// top of the drawing area.
std::vector<Polyline> Triangle(const Rect& item, int o, bool ascending) {
    const int r = item.right;
    const int b = item.bottom;
    if (ascending) {
        return {
            {Pen::Light, {{r - 2 * o, o}, {r - o, b - o - 1}, {r - 3 * o - 2, b - o - 1}}},
            {Pen::Dark, {{r - 3 * o - 1, b - o - 1}, {r - 2 * o, o - 1}}},
        };
    }
    return {
        {Pen::Light, {{r - o - 1, o}, {r - 2 * o - 1, b - o}}},
        {Pen::Dark, {{r - 2 * o - 2, b - o}, {r - 3 * o - 1, o}, {r - o - 1, o}}},
    };
}

}  // namespace

HeaderItemLayout LayoutHeaderItem(const Rect& item, unsigned itemState, bool isSortColumn,
                                  bool ascending, int headerFormat) {
    HeaderItemLayout layout;
    layout.unit = (item.bottom - item.top) / 4;
    const int o = layout.unit;

    Rect text = item;
    if (itemState == kOdsSelected) {  // pressed, and nothing else
        text.left += 1;
        text.top += 2;
        text.right += 1;
    }
    if (isSortColumn)
        text.right -= 3 * o;  // room for the triangle
    text.left += o;
    text.right -= o;

    layout.text = text;
    layout.drawText = text.left < text.right;
    layout.textFormat = TextFormat(headerFormat);
    if (isSortColumn)
        layout.triangle = Triangle(item, o, ascending);
    return layout;
}

}  // namespace devicelist
