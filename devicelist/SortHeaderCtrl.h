// CSortHeaderCtrl: the device list's column header. The sort column's item
// becomes owner-drawn and shows a small outlined triangle (up: ascending,
// down: descending) at its right end; an item that was once the sort column
// stays owner-drawn and shows only its text.
#ifndef VANTREL_DEVICELIST_SORTHEADERCTRL_H
#define VANTREL_DEVICELIST_SORTHEADERCTRL_H

#include "framework/Controls.h"

class CSortHeaderCtrl : public CHeaderCtrl {
public:
    // Moves the indicator to nColumn, pointing up when bAscending, and repaints.
    void SetSortIndicator(int nColumn, BOOL bAscending);

protected:
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override;

private:
    BOOL m_bSortAscending = TRUE;
    int m_nSortColumn = 0;
};

#endif  // VANTREL_DEVICELIST_SORTHEADERCTRL_H
