// Message boxes. Every box the tool shows goes through ShowMessageBox, so a
// test can answer boxes in place of a user.
#ifndef VANTREL_FRAMEWORK_MESSAGEBOX_H
#define VANTREL_FRAMEWORK_MESSAGEBOX_H

#include <windows.h>

#include <functional>

// A box owned by the program's main window, captioned with the program's name.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK);

namespace framework {

int ShowMessageBox(HWND hOwner, const char* pszText, const char* pszCaption, UINT nType);

// Tests only: while set, the hook answers every box instead of the user (its
// result is the box's result). An empty hook restores real boxes.
using MessageBoxHook =
    std::function<int(HWND hOwner, const char* pszText, const char* pszCaption, UINT nType)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace framework

#endif  // VANTREL_FRAMEWORK_MESSAGEBOX_H
