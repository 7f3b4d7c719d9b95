// Texts of real windows as a user reads them, in the test's own process or
// in the tool's.
#ifndef VANTREL_TESTS_COMMON_WINDOWTEXT_H
#define VANTREL_TESTS_COMMON_WINDOWTEXT_H

#include <windows.h>

#include <string>

namespace harness {

std::string WindowText(HWND hWnd);
std::string ItemText(HWND hDlg, int nId);
// One cell of a list view of the test's own process (up to 259 characters).
std::string CellText(HWND hList, int nRow, int nColumn);
std::string ClassOf(HWND hWnd);
// The message a message box shows: its non-empty static texts, joined.
std::string MessageOf(HWND hBox);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_WINDOWTEXT_H
