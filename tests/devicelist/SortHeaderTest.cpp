// The sort indicator as the real header control renders it: owner-drawn
// items reach CSortHeaderCtrl::DrawItem through the list, and the triangle's
// pixels sit where its geometry puts them.
#include "devicelist/SortHeaderCtrl.h"
#include "tests/devicelist/ListHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {
// A bitmap of a window or of a direct drawing, read pixel by pixel.
class Canvas {
public:
    Canvas(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), nWidth, -nHeight, 1, 32, BI_RGB};
        m_hDC = ::CreateCompatibleDC(nullptr);
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    }
    ~Canvas() {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return m_hDC; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    void Fill(COLORREF color) const {
        HBRUSH hBrush = ::CreateSolidBrush(color);
        const RECT all{0, 0, m_nWidth, m_nHeight};
        ::FillRect(m_hDC, &all, hBrush);
        ::DeleteObject(hBrush);
    }
    // The first pixel outside rect that is not color, as "(x, y)"; "" when none.
    std::string FirstOutsideNot(const RECT& rect, COLORREF color) const {
        for (int y = 0; y < m_nHeight; ++y)
            for (int x = 0; x < m_nWidth; ++x) {
                const bool bInside =
                    x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                if (!bInside && At(x, y) != color)
                    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        return "";
    }

private:
    int m_nWidth, m_nHeight;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

// Where nothing may be drawn: a colour none of the header's drawing uses.
const COLORREF kOutside = RGB(255, 0, 255);

enum class Shade { Face, Light, Dark };

const char* Name(Shade shade) {
    return shade == Shade::Face ? "face" : shade == Shade::Light ? "light" : "dark";
}

COLORREF ColorOf(Shade shade) {
    return ::GetSysColor(shade == Shade::Face    ? COLOR_BTNFACE
                         : shade == Shade::Light ? COLOR_BTNHIGHLIGHT
                                                 : COLOR_BTNSHADOW);
}

struct Expected {
    int x, y;
    Shade shade;
};

// The pixels that tell the triangle's direction and edges apart, for an
// item whose right edge is R and bottom B, with unit o.
std::vector<Expected> TrianglePixels(int R, int B, int o, bool bAscending) {
    std::vector<Expected> pixels;
    if (bAscending) {
        pixels.push_back({R - 3 * o - 2, B - o - 1, Shade::Face});
        pixels.push_back({R - 3 * o - 1, B - o - 1, Shade::Dark});  // left edge starts on the base
        for (int x = R - 3 * o; x <= R - o; ++x)
            pixels.push_back({x, B - o - 1, Shade::Light});  // the base
        pixels.push_back({R - o + 1, B - o - 1, Shade::Face});
        pixels.push_back({R - 2 * o, o - 1, Shade::Face});  // the dark edge stops short of it
    } else {
        for (int x = R - 3 * o - 1; x <= R - o - 2; ++x)
            pixels.push_back({x, o, Shade::Dark});       // the top
        pixels.push_back({R - o - 1, o, Shade::Light});  // right edge starts on the top
        pixels.push_back({R - o, o, Shade::Face});
        pixels.push_back({R - 2 * o - 2, B - o, Shade::Dark});  // the point
        pixels.push_back({R - 2 * o - 1, B - o, Shade::Face});
    }
    return pixels;
}

void ExpectPixels(const Canvas& canvas, const std::vector<Expected>& pixels,
                  const std::string& what) {
    for (const Expected& p : pixels)
        EXPECT_EQ(canvas.At(p.x, p.y), ColorOf(p.shade))
            << what << ": pixel (" << p.x << ", " << p.y << ") should be " << Name(p.shade);
}

// The header's own painting, captured into a bitmap.
void RenderHeader(HWND hHeader, const Canvas& canvas) {
    ::SendMessageA(hHeader, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                   PRF_CLIENT | PRF_ERASEBKGND);
}

RECT ItemRect(HWND hHeader, int nItem) {
    RECT rect{};
    ::SendMessageA(hHeader, HDM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool IsOwnerDrawn(HWND hHeader, int nItem) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    ::SendMessageA(hHeader, HDM_GETITEMA, nItem, reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_OWNERDRAW) != 0;
}

// A bare header of two 100-pixel columns with the same heading, in a hidden
// window of its own (hParent: destroy it when done).
HWND MakeTwoColumnHeader(const char* pszHeading, HWND& hParent) {
    hParent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 40, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    HWND hHeader = ::CreateWindowA(WC_HEADERA, "", WS_CHILD, 0, 0, 300, 20, hParent, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    HDITEMA column{};
    column.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    column.cxy = 100;
    column.pszText = const_cast<char*>(pszHeading);
    ::SendMessageA(hHeader, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageA(hHeader, HDM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&column));
    return hHeader;
}

// Exposes the drawing for a request the test makes up.
class DrawableHeader : public CSortHeaderCtrl {
public:
    using CSortHeaderCtrl::DrawItem;
};
}  // namespace

TEST(SortHeaderTest, RealHeaderDrawsTheTriangleOnTheSortColumnOnly) {
    ScriptedListHost host;
    bool bOwnerDrawnBefore = true;
    std::vector<bool> ownerDrawn;
    host.AddStep([&] {
        host.m_list.InsertColumns(kMainColumns);
        HWND hHeader = host.m_list.GetHeaderCtrl();
        bOwnerDrawnBefore = IsOwnerDrawn(hHeader, 0);
        RECT client{};
        ::GetClientRect(hHeader, &client);

        host.m_list.SortColumn(0, TRUE);
        {
            Canvas canvas(client.right, client.bottom);
            RenderHeader(hHeader, canvas);
            const RECT item = ItemRect(hHeader, 0);
            const int o = (item.bottom - item.top) / 4;
            ExpectPixels(canvas, TrianglePixels(item.right, item.bottom, o, true), "IP ascending");
        }

        host.m_list.SortColumn(2, FALSE);
        {
            Canvas canvas(client.right, client.bottom);
            RenderHeader(hHeader, canvas);
            const RECT item = ItemRect(hHeader, 2);
            const int o = (item.bottom - item.top) / 4;
            ExpectPixels(canvas, TrianglePixels(item.right, item.bottom, o, false),
                         "GW descending");
            // The former sort column keeps its owner drawing but has no triangle.
            const RECT former = ItemRect(hHeader, 0);
            for (int y = o - 1; y <= former.bottom - o; ++y)
                for (int x = former.right - 3 * o - 2; x <= former.right - o; ++x)
                    ASSERT_EQ(canvas.At(x, y), ColorOf(Shade::Face))
                        << "former sort column: pixel (" << x << ", " << y << ")";
        }
        for (int i = 0; i < 4; ++i)
            ownerDrawn.push_back(IsOwnerDrawn(hHeader, i));
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    EXPECT_FALSE(bOwnerDrawnBefore);
    EXPECT_EQ(ownerDrawn, (std::vector<bool>{true, false, true, false}));
}

TEST(SortHeaderTest, WorkedExampleItemGivesTheExactTriangle) {
    HWND hParent = nullptr;
    HWND hHeader = MakeTwoColumnHeader("Type", hParent);
    ASSERT_NE(hHeader, nullptr);

    DrawableHeader header;
    ASSERT_TRUE(header.SubclassWindow(hHeader));
    for (const bool bAscending : {true, false}) {
        header.SetSortIndicator(1, bAscending ? TRUE : FALSE);
        Canvas canvas(300, 30);
        canvas.Fill(kOutside);
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_HEADER;
        request.itemID = 1;
        request.hwndItem = hHeader;
        request.hDC = canvas.Dc();
        request.rcItem = {100, 0, 200, 20};
        header.DrawItem(&request);
        if (bAscending) {
            ExpectPixels(canvas,
                         {{183, 14, Shade::Face},
                          {184, 14, Shade::Dark},
                          {185, 14, Shade::Light},
                          {195, 14, Shade::Light},
                          {196, 14, Shade::Face},
                          {190, 4, Shade::Face}},
                         "ascending");
        } else {
            ExpectPixels(canvas,
                         {{184, 5, Shade::Dark},
                          {193, 5, Shade::Dark},
                          {194, 5, Shade::Light},
                          {195, 5, Shade::Face},
                          {188, 15, Shade::Dark},
                          {189, 15, Shade::Face}},
                         "descending");
        }
        // Nothing is drawn outside the item.
        EXPECT_EQ(canvas.At(200, 10), kOutside) << (bAscending ? "ascending" : "descending");
        EXPECT_EQ(canvas.At(99, 10), kOutside) << (bAscending ? "ascending" : "descending");
    }
    header.UnsubclassWindow();
    ::DestroyWindow(hParent);
}

// An item narrower than its triangle, or pressed, with a heading longer than
// the item: the triangle and the text (drawn unclipped) would reach beyond
// the item but for the item's clip region.
TEST(SortHeaderTest, NothingIsDrawnOutsideTheItemWhateverItsWidth) {
    HWND hParent = nullptr;
    HWND hHeader = MakeTwoColumnHeader("Firmware version of the device", hParent);
    ASSERT_NE(hHeader, nullptr);

    DrawableHeader header;
    ASSERT_TRUE(header.SubclassWindow(hHeader));
    struct Case {
        RECT item;
        bool bSorted, bAscending;
        UINT state;
    };
    const Case cases[] = {
        {{100, 0, 110, 20}, true, true, 0},
        {{100, 0, 110, 20}, true, false, 0},
        {{100, 0, 106, 20}, true, true, ODS_SELECTED},
        {{100, 0, 140, 20}, false, true, ODS_SELECTED},
        {{100, 0, 200, 20}, true, false, ODS_SELECTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item.left) + "-" + std::to_string(c.item.right) +
                     (c.bSorted ? (c.bAscending ? " ascending" : " descending") : " unsorted") +
                     (c.state == ODS_SELECTED ? " pressed" : ""));
        header.SetSortIndicator(c.bSorted ? 1 : 0, c.bAscending ? TRUE : FALSE);
        Canvas canvas(300, 30);
        canvas.Fill(kOutside);
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_HEADER;
        request.itemID = 1;
        request.itemState = c.state;
        request.hwndItem = hHeader;
        request.hDC = canvas.Dc();
        request.rcItem = c.item;
        header.DrawItem(&request);
        EXPECT_EQ(canvas.At(c.item.left + 1, 1), ColorOf(Shade::Face)) << "the item was not drawn";
        EXPECT_EQ(canvas.FirstOutsideNot(c.item, kOutside), "") << "drawn outside the item";
    }
    header.UnsubclassWindow();
    ::DestroyWindow(hParent);
}
