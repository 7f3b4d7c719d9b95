// Mouse clicks and keys delivered to the real tool's windows from another
// process, as the window system delivers a user's: the pointer is moved to
// the spot first, then the button and key messages are posted in the order a
// real click or key press produces them. Posted, never sent, so a click that
// opens a modal dialog does not block the test.
#ifndef VANTREL_TESTS_COMMON_USERINPUT_H
#define VANTREL_TESTS_COMMON_USERINPUT_H

#include <windows.h>

#include <string>

namespace harness {

// A left click at a point in the window's client coordinates.
void ClickAt(HWND hWnd, POINT point);
// A left click in the middle of a control (a button, a check box).
void Click(HWND hControl);
void ClickItem(HWND hDlg, int nId);
// A left double click at a point in the window's client coordinates.
void DoubleClickAt(HWND hWnd, POINT point);

// The window that has the keyboard focus in the thread that owns hTop.
HWND FocusOf(HWND hTop);
// A key pressed and released where the keyboard focus of hTop's thread is.
void PressKey(HWND hTop, UINT nVirtualKey);
// Alt+F4 where the keyboard focus of hTop's thread is.
void PressAltF4(HWND hTop);
// Replaces an edit's text by typing: everything selected, then one
// character message per character.
void TypeInto(HWND hEdit, const std::string& text);
// Types a number into one field of an IP-address control (0 to 3).
void TypeIntoAddressField(HWND hAddress, int nField, int nValue);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_USERINPUT_H
