#include "framework/MessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <utility>

namespace framework {

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

int ShowMessageBox(HWND hOwner, const char* pszText, const char* pszCaption, UINT nType) {
    if (Hook())
        return Hook()(hOwner, pszText, pszCaption, nType);
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

}  // namespace framework

int AfxMessageBox(const char* pszText, UINT nType) {
    // The box belongs to the window the user works in: a nested dialog that
    // is open, else the main window.
    const CWinApp* pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    if (hOwner != nullptr)
        hOwner = ::GetLastActivePopup(hOwner);
    return framework::ShowMessageBox(hOwner, pszText, AfxGetAppName(), nType);
}
