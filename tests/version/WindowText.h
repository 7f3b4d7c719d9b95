// Texts of real windows, for tests that read a dialog as a user sees it.
#ifndef VANTREL_TESTS_VERSION_WINDOWTEXT_H
#define VANTREL_TESTS_VERSION_WINDOWTEXT_H

#include <windows.h>

#include <string>

inline std::string WindowText(HWND hWnd) {
    char text[512] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

inline std::string ItemText(HWND hDlg, int nId) {
    return WindowText(::GetDlgItem(hDlg, nId));
}

#endif  // VANTREL_TESTS_VERSION_WINDOWTEXT_H
