#include "tests/common/Controls.h"

#include <commctrl.h>

namespace harness {

void Click(HWND hDlg, int nId) {
    ::SendMessageA(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

void SetText(HWND hDlg, int nId, const char* text) {
    ::SetDlgItemTextA(hDlg, nId, text);
}

void SetAddress(HWND hDlg, int nId, DWORD address) {
    ::SendDlgItemMessageA(hDlg, nId, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

bool IsBlankAddress(HWND hDlg, int nId) {
    return ::SendDlgItemMessageA(hDlg, nId, IPM_ISBLANK, 0, 0) != 0;
}

bool IsEnabled(HWND hDlg, int nId) {
    return ::IsWindowEnabled(::GetDlgItem(hDlg, nId)) != FALSE;
}

bool IsReadOnly(HWND hDlg, int nId) {
    return (::GetWindowLongPtrA(::GetDlgItem(hDlg, nId), GWL_STYLE) & ES_READONLY) != 0;
}

bool IsChecked(HWND hDlg, int nId) {
    return ::IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}

}  // namespace harness
