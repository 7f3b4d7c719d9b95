// Where the device list's rows and column headers are in the running tool's
// window, seen from another process: what a click must aim at.
#ifndef VANTREL_TOOLS_TOOLGEOMETRY_H
#define VANTREL_TOOLS_TOOLGEOMETRY_H

#include <windows.h>

namespace tools {

// The row's bounds in the list's client coordinates. False when the row does
// not exist or the tool's process could not be read.
bool ReadRowRect(HWND hTool, int nRow, RECT& rect);

// The column header's bounds in the header's client coordinates; false as above.
bool ReadHeaderItemRect(HWND hTool, int nColumn, RECT& rect);

}  // namespace tools

#endif  // VANTREL_TOOLS_TOOLGEOMETRY_H
