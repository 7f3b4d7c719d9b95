// Where an owner-drawn header item puts its text and sort triangle. Plain
// geometry, so the drawing code only replays it on a device context.
#ifndef VANTREL_DEVICELIST_HEADERGEOMETRY_H
#define VANTREL_DEVICELIST_HEADERGEOMETRY_H

#include <vector>

namespace devicelist {

struct Rect {
    int left, top, right, bottom;
};

struct Point {
    int x, y;
};

enum class Pen {
    Light,  // GetSysColor(COLOR_BTNHIGHLIGHT)
    Dark,   // GetSysColor(COLOR_BTNSHADOW)
};

// One stroke: MoveTo(points[0]), then LineTo each further point. A line
// includes its start point and excludes its end point.
struct Polyline {
    Pen pen;
    std::vector<Point> points;
};

struct HeaderItemLayout {
    int unit;                        // o = item height / 4
    Rect text;                       // where the heading goes
    bool drawText;                   // false when the text rectangle is empty
    unsigned textFormat;             // DrawText flags
    std::vector<Polyline> triangle;  // empty unless the item is the sort column
};

// Layout of one owner-drawn header item.
//   item:         the item rectangle (DRAWITEMSTRUCT::rcItem)
//   itemState:    DRAWITEMSTRUCT::itemState; exactly ODS_SELECTED (1) gives
//                 the pressed look, any further bit does not
//   isSortColumn: the item carries the sort indicator
//   ascending:    direction of the indicator (triangle up when true)
//   headerFormat: the item's HDITEM::fmt (HDF_CENTER, HDF_RIGHT are read)
// Draw the strokes in order, selecting each stroke's pen.
HeaderItemLayout LayoutHeaderItem(const Rect& item, unsigned itemState, bool isSortColumn,
                                  bool ascending, int headerFormat);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_HEADERGEOMETRY_H
