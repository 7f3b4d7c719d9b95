// The two start-up steps that rest on version resources: the main window's
// title from the tool's own version, and the check of the ZOVA library's.
#ifndef VANTREL_VERSION_STARTUPVERSION_H
#define VANTREL_VERSION_STARTUPVERSION_H

#include "framework/String.h"

namespace version {

// "Vantrel Config v1.4.0" from the tool's own ProductVersion; "Vantrel Config v"
// when it cannot be read.
CString MainWindowTitleFromOwnVersion();

// The ZOVA library that the tool loads: the zova.dll module the process has
// loaded, or, where there is none or its name cannot be read, zova.dll beside
// the tool itself.
CString ZovaLibraryPath();

// True only when the library file's FileVersion reads 1.1.x.
bool IsZovaLibraryVersionAccepted(LPCSTR pszLibraryPath);
}  // namespace version

#endif  // VANTREL_VERSION_STARTUPVERSION_H
