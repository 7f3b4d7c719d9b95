// CEdit: a single-line edit control.
#ifndef VANTREL_FRAMEWORK_EDIT_H
#define VANTREL_FRAMEWORK_EDIT_H

#include "framework/Wnd.h"

class CEdit : public CWnd {
public:
    void SetReadOnly(BOOL bReadOnly = TRUE) { SendMessage(EM_SETREADONLY, bReadOnly); }
    // The most characters the user can type; texts set by the program may be longer.
    void LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
};

#endif  // VANTREL_FRAMEWORK_EDIT_H
