// Pictures of the tool's windows for the documentation, taken from the
// screen as the user sees them. Only when VANTREL_SCREENSHOTS names a
// folder; tests/acceptance/screenshots.sh turns them into PNG files.
#ifndef VANTREL_TESTS_COMMON_WINDOWSHOT_H
#define VANTREL_TESTS_COMMON_WINDOWSHOT_H

#include <windows.h>

#include <string>

namespace harness {

// Saves the window's client area (there is no frame without a window
// manager) as NAME.bmp in the folder; does nothing when none is named.
void SaveWindowShot(HWND hWnd, const std::string& name);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_WINDOWSHOT_H
