#include "app/Layout.h"

#include "res/Resource.h"

namespace app {

namespace {
const int kIdOk = 1;  // IDOK, without pulling in windows.h
}

// The order in which the controls are recorded and moved.
const std::array<ControlLayout::Control, ControlLayout::kControlCount> ControlLayout::kControls = {{
    {IDC_DEVICE_LIST, Anchoring::AllEdges},
    {IDC_ADVANCED, Anchoring::BottomLeft},
    {IDC_WINK, Anchoring::BottomRight},
    {IDC_FILE, Anchoring::BottomRight},
    {IDC_SCAN, Anchoring::BottomRight},
    {kIdOk, Anchoring::BottomRight},
}};

void ControlLayout::Record(int index, const LayoutRect& r, int clientWidth, int clientHeight) {
    const int rightMargin = clientWidth - r.right;
    const int bottomMargin = clientHeight - r.bottom;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    std::array<int, 4>& values = m_anValues[index];
    switch (kControls[index].anchoring) {
    case Anchoring::AllEdges:
        values = {r.left, r.top, rightMargin, bottomMargin};
        break;
    case Anchoring::BottomLeft:
        values = {r.left, height, width, bottomMargin};
        break;
    case Anchoring::BottomRight:
        values = {width, height, rightMargin, bottomMargin};
        break;
    }
    m_bRecorded = true;
}

LayoutRect ControlLayout::Place(int index, int clientWidth, int clientHeight) const {
    const std::array<int, 4>& v = m_anValues[index];
    LayoutRect r{};
    switch (kControls[index].anchoring) {
    case Anchoring::AllEdges:
        r = {v[0], v[1], clientWidth - v[2], clientHeight - v[3]};
        break;
    case Anchoring::BottomLeft:
        r.left = v[0];
        r.right = r.left + v[2];
        r.bottom = clientHeight - v[3];
        r.top = r.bottom - v[1];
        break;
    case Anchoring::BottomRight:
        r.right = clientWidth - v[2];
        r.left = r.right - v[0];
        r.bottom = clientHeight - v[3];
        r.top = r.bottom - v[1];
        break;
    }
    return r;
}

void ClampToMinimumSize(int edge, LayoutRect& window) {
    if (window.right - window.left < kMinWindowWidth) {
        if (edge == kSizingLeft || edge == kSizingTopLeft || edge == kSizingBottomLeft) {
            window.left = window.right - kMinWindowWidth;
        } else {
            window.right = window.left + kMinWindowWidth;
        }
    }
    if (window.bottom - window.top < kMinWindowHeight) {
        if (edge == kSizingTop || edge == kSizingTopLeft || edge == kSizingTopRight) {
            window.top = window.bottom - kMinWindowHeight;
        } else {
            window.bottom = window.top + kMinWindowHeight;
        }
    }
}

}  // namespace app
