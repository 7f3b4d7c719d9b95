// CHeaderCtrl: a header control (the column headings of a list view).
// Owner-drawn items reach the virtual DrawItem: the header sends WM_DRAWITEM
// to its parent, which passes it back here.
#ifndef VANTREL_FRAMEWORK_HEADERCTRL_H
#define VANTREL_FRAMEWORK_HEADERCTRL_H

#include "framework/Wnd.h"

#include <commctrl.h>

class CHeaderCtrl : public CWnd {
public:
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMA, nPos, reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    BOOL SetItem(int nPos, const HDITEMA* pHeaderItem) {
        return static_cast<BOOL>(
            SendMessage(HDM_SETITEMA, nPos, reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }

protected:
    // Draws one owner-drawn item; the request's device context stays the caller's.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

#endif  // VANTREL_FRAMEWORK_HEADERCTRL_H
