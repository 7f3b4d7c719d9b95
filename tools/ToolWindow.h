// The running tool's main window, seen from another process: the device
// list's texts, and where its rows and column headers are (what a click must
// aim at).
#ifndef VANTREL_TOOLS_TOOLWINDOW_H
#define VANTREL_TOOLS_TOOLWINDOW_H

#include <windows.h>

#include <string>
#include <vector>

namespace tools {

// The tool's main dialog: a visible top-level dialog with the device list; null if none.
HWND FindToolWindow();

// The device list's rows, each with the texts of all its columns. The texts
// live in the tool's memory, so they are read through a buffer there.
// False when the tool's process could not be read.
bool ReadDeviceRows(HWND hTool, std::vector<std::vector<std::string>>& rows);

// The row's bounds in the list's client coordinates. False when the row does
// not exist or the tool's process could not be read.
bool ReadRowRect(HWND hTool, int nRow, RECT& rect);

// The column header's bounds in the header's client coordinates; false as above.
bool ReadHeaderItemRect(HWND hTool, int nColumn, RECT& rect);

}  // namespace tools

#endif  // VANTREL_TOOLS_TOOLWINDOW_H
