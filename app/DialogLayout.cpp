#include "app/DialogLayout.h"

namespace app {

void LayoutDialogControls(HWND hDlg, ControlLayout& layout, bool bRecord) {
    RECT client{};
    ::GetClientRect(hDlg, &client);
    const int width = client.right;
    const int height = client.bottom;

    for (int i = 0; i < ControlLayout::kControlCount; ++i) {
        const HWND hControl = ::GetDlgItem(hDlg, ControlLayout::kControls[i].id);
        if (hControl == nullptr) {
            continue;
        }
        if (bRecord) {
            RECT r{};
            ::GetWindowRect(hControl, &r);
            POINT topLeft{r.left, r.top};
            POINT bottomRight{r.right, r.bottom};
            ::ScreenToClient(hDlg, &topLeft);
            ::ScreenToClient(hDlg, &bottomRight);
            layout.Record(i, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, width, height);
        } else if (layout.IsRecorded()) {
            const LayoutRect r = layout.Place(i, width, height);
            // A client area smaller than the margins (a minimised window) gives
            // negative sizes: such a control is simply made empty.
            const int w = r.right > r.left ? r.right - r.left : 0;
            const int h = r.bottom > r.top ? r.bottom - r.top : 0;
            ::MoveWindow(hControl, r.left, r.top, w, h, FALSE);
        }
    }
    ::InvalidateRect(hDlg, nullptr, TRUE);
    ::UpdateWindow(hDlg);
}

void ClampSizingRect(UINT nEdge, RECT* pRect) {
    LayoutRect r{pRect->left, pRect->top, pRect->right, pRect->bottom};
    ClampToMinimumSize(static_cast<int>(nEdge), r);
    *pRect = {r.left, r.top, r.right, r.bottom};
}

}  // namespace app
