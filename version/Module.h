// CVFXModule: the file name of a loaded module, by default the running program.
#ifndef VANTREL_VERSION_MODULE_H
#define VANTREL_VERSION_MODULE_H

#include "framework/Object.h"
#include "framework/String.h"

class CVFXModule : public CObject {
public:
    // True when the module's file name was found; strPath is emptied first.
    bool GetModulePath(CString& strPath, HANDLE hProcess = nullptr,
                       HMODULE hModule = nullptr) const;
};

#endif  // VANTREL_VERSION_MODULE_H
