// CDllVersionCheck: the FileVersion numbers of a library file, read from its
// version resource without loading it.
#ifndef VANTREL_VERSION_DLLVERSIONCHECK_H
#define VANTREL_VERSION_DLLVERSIONCHECK_H

#include <windows.h>

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

#endif  // VANTREL_VERSION_DLLVERSIONCHECK_H
