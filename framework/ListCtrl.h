// CListCtrl: a list-view control (SysListView32).
#ifndef VANTREL_FRAMEWORK_LISTCTRL_H
#define VANTREL_FRAMEWORK_LISTCTRL_H

#include "framework/Wnd.h"

#include <commctrl.h>

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

#endif  // VANTREL_FRAMEWORK_LISTCTRL_H
