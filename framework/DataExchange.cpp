#include "framework/DataExchange.h"

#include "framework/Wnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->HasFailed() || rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    // A template without the control is a programming error.
    if (hWnd == nullptr || !rControl.SubclassWindow(hWnd))
        pDX->Fail();
}
