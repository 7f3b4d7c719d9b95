// A dialog's controls worked and read in-process, as a user would work them.
#ifndef VANTREL_TESTS_COMMON_CONTROLS_H
#define VANTREL_TESTS_COMMON_CONTROLS_H

#include <windows.h>

namespace harness {

void Click(HWND hDlg, int nId);
void SetText(HWND hDlg, int nId, const char* text);
void SetAddress(HWND hDlg, int nId, DWORD address);
bool IsBlankAddress(HWND hDlg, int nId);
bool IsEnabled(HWND hDlg, int nId);
bool IsReadOnly(HWND hDlg, int nId);
bool IsChecked(HWND hDlg, int nId);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_CONTROLS_H
