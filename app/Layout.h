// Where the main window's controls go as the window changes size, and the
// smallest size the user can drag it to. Plain rectangles only, no Win32.
#ifndef VANTREL_APP_LAYOUT_H
#define VANTREL_APP_LAYOUT_H

#include <array>

namespace app {

struct LayoutRect {
    int left;
    int top;
    int right;
    int bottom;
};

inline bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

enum class Anchoring {
    AllEdges,     // stretches with the window
    BottomLeft,   // fixed size, fixed left edge and distance to the bottom
    BottomRight,  // fixed size, fixed distances to the right and the bottom
};

// The six controls of the main window, each with its anchoring: records each
// one's distances once and gives its rectangle for any client size.
class ControlLayout {
public:
    struct Control {
        int id;
        Anchoring anchoring;
    };
    static constexpr int kControlCount = 6;
    static const std::array<Control, kControlCount> kControls;

    void Record(int index, const LayoutRect& control, int clientWidth, int clientHeight);
    bool IsRecorded() const { return m_bRecorded; }
    LayoutRect Place(int index, int clientWidth, int clientHeight) const;

private:
    // Four values per control; which four depends on its anchoring.
    std::array<std::array<int, 4>, kControlCount> m_anValues{};
    bool m_bRecorded = false;
};

// Sizing edges as WM_SIZING reports them.
enum SizingEdge {
    kSizingLeft = 1,
    kSizingRight = 2,
    kSizingTop = 3,
    kSizingTopLeft = 4,
    kSizingTopRight = 5,
    kSizingBottom = 6,
    kSizingBottomLeft = 7,
    kSizingBottomRight = 8,
};

constexpr int kMinWindowWidth = 194;
constexpr int kMinWindowHeight = 130;

// Keeps a proposed window rectangle at least kMinWindowWidth x
// kMinWindowHeight by stopping the edge being dragged; the opposite edge stays.
void ClampToMinimumSize(int edge, LayoutRect& window);
}  // namespace app

#endif  // VANTREL_APP_LAYOUT_H
