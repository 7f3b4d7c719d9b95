#include "DialogDriver.h"

#include "framework/MessageBox.h"

#include <commctrl.h>

#include <cstring>

namespace {
std::vector<std::string> g_boxes;
ConfigureDialogScript* g_pConfigureScript = nullptr;

BOOL CALLBACK FindConfigureDialog(HWND hWnd, LPARAM lParam) {
    char title[80] = {};
    ::GetWindowTextA(hWnd, title, sizeof title);
    if (::IsWindowVisible(hWnd) && std::strncmp(title, "Configure: ", 11) == 0) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

// Timers fire only while some loop waits for messages: here, the modal loop
// of the dialog the action opened.
ConfigureDialogScript::ConfigureDialogScript(std::function<void(HWND)> script)
    : m_script(std::move(script)) {
    g_pConfigureScript = this;
    m_timer = ::SetTimer(nullptr, 0, 20, &ConfigureDialogScript::OnTimer);
}

ConfigureDialogScript::~ConfigureDialogScript() {
    ::KillTimer(nullptr, m_timer);
    g_pConfigureScript = nullptr;
}

void CALLBACK ConfigureDialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    ConfigureDialogScript* pThis = g_pConfigureScript;
    if (pThis == nullptr || !pThis->m_title.empty())
        return;
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindConfigureDialog, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg == nullptr)
        return;
    char title[80] = {};
    ::GetWindowTextA(hDlg, title, sizeof title);
    pThis->m_title = title;
    pThis->m_script(hDlg);
}

void RecordMessageBoxes() {
    framework::SetMessageBoxHook([](HWND, const char* text, const char*, UINT) {
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
