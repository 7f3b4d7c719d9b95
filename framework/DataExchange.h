// Data exchange between a dialog's controls and its members. DoDataExchange
// calls DDX_… and DDV_… functions; each takes the CDataExchange first:
//
//   void DDX_Something(CDataExchange* pDX, int nIDC, T& value) {
//       if (pDX->HasFailed()) return;          // stop at the first failure
//       HWND hCtrl = pDX->PrepareCtrl(nIDC);   // or PrepareEditCtrl for edits
//       if (pDX->m_bSaveAndValidate) { read the control into value; on bad input: pDX->Fail(); }
//       else { write value into the control; }
//   }
#ifndef VANTREL_FRAMEWORK_DATAEXCHANGE_H
#define VANTREL_FRAMEWORK_DATAEXCHANGE_H

#include "framework/String.h"

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // TRUE: controls to members, with validation; FALSE: members to controls.
    const BOOL m_bSaveAndValidate;
    CWnd* const m_pDlgWnd;

    // The dialog's control nIDC, remembered as the one a failure concerns.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control, whose text gets selected on failure.
    HWND PrepareEditCtrl(int nIDC);
    // Marks the exchange failed and puts the focus on the last prepared
    // control; UpdateData then returns FALSE. Tell the user before calling it.
    void Fail();
    bool HasFailed() const { return m_bFailed; }
    // The control last prepared: the one a DDV_… check after its DDX_… concerns.
    HWND GetLastControl() const { return m_hWndLastControl; }

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
    bool m_bFailed = false;
};

// Ties control nIDC to rControl (subclassing it, so rControl's message map
// applies) the first time; later exchanges leave the tie as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// The text of an edit control.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// Follows the DDX_Text of its edit: loading limits what the user can type to
// nChars; saving refuses a longer text with "Enter no more than N characters.".
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// value: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);

// nIDC is the group's first radio button (WS_GROUP); the group runs to the
// next control with WS_GROUP. value: index of the checked button among the
// group's radio buttons, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

#endif  // VANTREL_FRAMEWORK_DATAEXCHANGE_H
