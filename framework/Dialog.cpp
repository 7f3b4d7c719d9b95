#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMapEntry kEntries[] = {
        msg::Command<&CDialog::OnOK>(IDOK),
        msg::Command<&CDialog::OnCancel>(IDCANCEL),
    };
    static const MessageMap kMap(CWnd::GetMessageMap(), kEntries);
    return &kMap;
}

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    const CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pMainWnd == nullptr || pApp->m_pMainWnd == this)
        return nullptr;
    return pApp->m_pMainWnd->m_hWnd;
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = OwnerWindow();
    const bool bOwnerDisabled = hOwner != nullptr && ::IsWindowEnabled(hOwner);
    if (bOwnerDisabled)
        ::EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    m_bModalRunning = true;
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                     hOwner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd != nullptr) {
        // OnInitDialog may already have ended the dialog.
        if (m_bModalRunning && !::IsWindowVisible(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        RunModalLoop();
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_bModalRunning = false;
    // The owner gets the activation back before the dialog goes.
    if (bOwnerDisabled) {
        ::EnableWindow(hOwner, TRUE);
        ::SetActiveWindow(hOwner);
    }
    if (hWnd != nullptr && ::IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    MSG message;
    while (m_bModalRunning && m_hWnd != nullptr) {
        // Input first: GetMessage hands out posted messages before input, and
        // the library's notifications arrive posted, hundreds a second during
        // a scan; the user's clicks and keys must not wait behind them.
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
            const BOOL bGot = ::GetMessageA(&message, nullptr, 0, 0);
            if (bGot == 0) {
                // WM_QUIT belongs to an outer loop; leave it for that one.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (bGot == -1)
                break;
        }
        if (PreTranslateMessage(&message))
            continue;
        if (!::IsDialogMessageA(m_hWnd, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}

BOOL CDialog::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bModalRunning = false;
    // Wake the loop even when no other message is coming.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.HasFailed();
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager first asks the dialog procedure, which must decline.
    m_bInDefault = true;
    const LRESULT result = ::DefDlgProcA(m_hWnd, message, wParam, lParam);
    m_bInDefault = false;
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* pDialog = reinterpret_cast<CDialog*>(lParam);
            ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
            pDialog->m_hWnd = hWnd;
            CurrentMessage current(*pDialog, message, wParam, lParam);
            return pDialog->OnInitDialog();
        }
        auto* pDialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
        if (pDialog == nullptr)
            return FALSE;
        if (pDialog->m_bInDefault) {
            pDialog->m_bInDefault = false;
            return FALSE;
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
            pDialog->m_hWnd = nullptr;
            return FALSE;
        }
        LRESULT result = 0;
        CurrentMessage current(*pDialog, message, wParam, lParam);
        if (!pDialog->OnWndMsg(message, wParam, lParam, &result))
            return FALSE;
        switch (message) {
        // These return their result directly; all others through DWLP_MSGRESULT.
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(result);
        default:
            ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    } catch (...) {
        // Nothing may unwind through the window system.
        return FALSE;
    }
}
