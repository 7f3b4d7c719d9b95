// The two start-up steps that rest on version resources: the main window's
// title from the tool's own version, and the check of the ZOVA library's
// (CDllVersionCheck reads a library file's FileVersion without loading it).
#ifndef VANTREL_VERSION_STARTUPVERSION_H
#define VANTREL_VERSION_STARTUPVERSION_H

#include "framework/String.h"

#include <windows.h>

// CDllVersionCheck: the FileVersion numbers of a library file, read from its
// version resource without loading it.
class CDllVersionCheck {
public:
    virtual ~CDllVersionCheck() = default;

    // The first three numbers of the file's FileVersion text, split at '.' or
    // else at ','. Each number is stored as soon as it is found; when the text
    // cannot be read, none is. True when three numbers were found.
    bool GetDllVersion(LPCSTR pszFileName, int* pnFirst, int* pnSecond, int* pnThird);

    // The FileVersion text of the file's one translation, or of the user's
    // language with code page 04B0 when the file has none or several.
    // pszVersion receives at most 255 characters and a zero byte.
    bool ReadFileVersionString(LPCSTR pszFileName, char (&szVersion)[256]);
};

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
