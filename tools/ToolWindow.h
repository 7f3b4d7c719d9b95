// The running tool's main window, seen from another process.
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

}  // namespace tools

#endif  // VANTREL_TOOLS_TOOLWINDOW_H
