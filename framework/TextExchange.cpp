#include "framework/TextExchange.h"

#include "framework/MessageBox.h"

#include <string>
#include <vector>

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->HasFailed())
        return;
    HWND hCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(hCtrl, value);
        return;
    }
    const int length = ::GetWindowTextLengthA(hCtrl);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    ::GetWindowTextA(hCtrl, text.data(), length + 1);
    value = text.data();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->HasFailed())
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SendMessageA(pDX->GetLastControl(), EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        const std::string message = "Enter no more than " + std::to_string(nChars) + " characters.";
        AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}
