#include "framework/ButtonExchange.h"

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value) {
    if (pDX->HasFailed())
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<BOOL>(::SendMessageA(hCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->HasFailed())
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND h = hCtrl; h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != hCtrl && (::GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP) != 0)
            break;
        // Labels or check boxes inside the group do not count.
        if ((::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0)
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}
