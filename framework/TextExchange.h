// Data exchange for the texts of edit controls.
#ifndef VANTREL_FRAMEWORK_TEXTEXCHANGE_H
#define VANTREL_FRAMEWORK_TEXTEXCHANGE_H

#include "framework/DataExchange.h"
#include "framework/String.h"

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// Follows the DDX_Text of its edit: loading limits what the user can type to
// nChars; saving refuses a longer text with "Enter no more than N characters.".
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

#endif  // VANTREL_FRAMEWORK_TEXTEXCHANGE_H
