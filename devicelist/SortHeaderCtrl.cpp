#include "devicelist/SortHeaderCtrl.h"

#include "devicelist/HeaderGeometry.h"
#include "framework/DC.h"

void CSortHeaderCtrl::SetSortIndicator(int nColumn, BOOL bAscending) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    GetItem(nColumn, &item);
    // Shown as asked already: the list refreshes it after every answer, and
    // each repaint of the header costs Wine dozens of round trips.
    if (nColumn == m_nSortColumn && bAscending == m_bSortAscending && (item.fmt & HDF_OWNERDRAW))
        return;
    m_nSortColumn = nColumn;
    m_bSortAscending = bAscending;
    item.fmt |= HDF_OWNERDRAW;
    SetItem(nColumn, &item);
    Invalidate(TRUE);
}

void CSortHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT pDraw) {
    CDC dc;
    dc.Attach(pDraw->hDC);
    const int nSavedDC = dc.SaveDC();

    const RECT& rcItem = pDraw->rcItem;
    HRGN hClip = ::CreateRectRgnIndirect(&rcItem);
    dc.SelectClipRgn(hClip);
    ::DeleteObject(hClip);

    CBrush background(::GetSysColor(COLOR_BTNFACE));
    dc.FillRect(rcItem, background);

    char szText[256] = {};
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_TEXT;
    item.pszText = szText;
    item.cchTextMax = 255;
    GetItem(static_cast<int>(pDraw->itemID), &item);
    szText[255] = '\0';

    const bool bSortColumn = static_cast<int>(pDraw->itemID) == m_nSortColumn;
    const devicelist::HeaderItemLayout layout = devicelist::LayoutHeaderItem(
        {rcItem.left, rcItem.top, rcItem.right, rcItem.bottom}, pDraw->itemState, bSortColumn,
        m_bSortAscending != FALSE, item.fmt);

    if (layout.drawText) {
        RECT rcText{layout.text.left, layout.text.top, layout.text.right, layout.text.bottom};
        dc.DrawText(szText, -1, rcText, layout.textFormat);
    }

    if (!layout.triangle.empty()) {
        CPen light(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        CPen dark(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ hOldPen = dc.SelectObject(light);
        for (const devicelist::Polyline& stroke : layout.triangle) {
            dc.SelectObject(stroke.pen == devicelist::Pen::Light ? light : dark);
            dc.MoveTo(stroke.points.front().x, stroke.points.front().y);
            for (std::size_t i = 1; i < stroke.points.size(); ++i)
                dc.LineTo(stroke.points[i].x, stroke.points[i].y);
        }
        dc.SelectObject(hOldPen);
    }

    dc.RestoreDC(nSavedDC);
    dc.Detach();
}
