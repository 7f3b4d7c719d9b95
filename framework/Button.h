// CButton: a push button, check box or radio button.
#ifndef VANTREL_FRAMEWORK_BUTTON_H
#define VANTREL_FRAMEWORK_BUTTON_H

#include "framework/Wnd.h"

class CButton : public CWnd {};

#endif  // VANTREL_FRAMEWORK_BUTTON_H
