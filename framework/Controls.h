// The common controls the dialogs use, each a CWnd over its window:
// CButton (push button, check box or radio button), CEdit (a single-line
// edit), CIPAddressCtrl (the four-field IPv4 address control), CListCtrl (a
// list view, SysListView32) and CHeaderCtrl (the column headings of a list
// view).
#ifndef VANTREL_FRAMEWORK_CONTROLS_H
#define VANTREL_FRAMEWORK_CONTROLS_H

#include "framework/Wnd.h"

#include <commctrl.h>

class CButton : public CWnd {};

class CEdit : public CWnd {
public:
    void SetReadOnly(BOOL bReadOnly = TRUE) { SendMessage(EM_SETREADONLY, bReadOnly); }
};

// An address is one number with the first dotted octet in the most
// significant byte.
class CIPAddressCtrl : public CWnd {
public:
    void SetAddress(DWORD dwAddress) {
        SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(dwAddress));
    }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    // Blank fields read as 0; returns how many fields are not blank.
    int GetAddress(DWORD& dwAddress) const {
        dwAddress = 0;
        return static_cast<int>(
            SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
    }
};

class CListCtrl : public CWnd {
public:
    // The new column's index, or -1 when the list refuses it.
    int InsertColumn(int nCol, const char* pszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    // A new row at nItem with its first column's text; its index or -1.
    int InsertItem(int nItem, const char* pszText);
    BOOL SetItemText(int nItem, int nSubItem, const char* pszText);
    // The text of a cell, however long.
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // The next row after nItem (-1: from the start) with the LVNI_… flags.
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0)));
    }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    // Sorts the rows with pfnCompare(item data 1, item data 2, dwData).
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
        return static_cast<BOOL>(
            SendMessage(LVM_SORTITEMS, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
    }
    // The list's header window, or null.
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
};

// Owner-drawn items reach the virtual DrawItem: the header sends WM_DRAWITEM
// to its parent, which passes it back here.
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

#endif  // VANTREL_FRAMEWORK_CONTROLS_H
