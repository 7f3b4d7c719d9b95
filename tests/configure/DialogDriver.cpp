#include "DialogDriver.h"

#include "framework/MessageBox.h"

#include <commctrl.h>

namespace {
std::vector<std::string> g_boxes;
}  // namespace

void RecordMessageBoxes() {
    SetMessageBoxHook([](HWND, const char* text, const char*, UINT) {
        g_boxes.emplace_back(text);
        return IDOK;
    });
}

std::vector<std::string> TakeMessageBoxes() {
    std::vector<std::string> boxes;
    boxes.swap(g_boxes);
    return boxes;
}

void Click(HWND hDlg, int nId) {
    ::SendMessageA(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

void SetText(HWND hDlg, int nId, const char* text) {
    ::SetDlgItemTextA(hDlg, nId, text);
}

std::string GetText(HWND hDlg, int nId) {
    char text[256] = {};
    ::GetDlgItemTextA(hDlg, nId, text, sizeof text);
    return text;
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
