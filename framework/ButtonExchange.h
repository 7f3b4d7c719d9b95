// Data exchange for check boxes and radio-button groups.
#ifndef VANTREL_FRAMEWORK_BUTTONEXCHANGE_H
#define VANTREL_FRAMEWORK_BUTTONEXCHANGE_H

#include "framework/DataExchange.h"

// value: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);

// nIDC is the group's first radio button (WS_GROUP); the group runs to the
// next control with WS_GROUP. value: index of the checked button among the
// group's radio buttons, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

#endif  // VANTREL_FRAMEWORK_BUTTONEXCHANGE_H
