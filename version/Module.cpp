#include "version/Module.h"

// The process takes no part: a module's file name is only known in this process.
bool CVFXModule::GetModulePath(CString& strPath, HANDLE /*hProcess*/, HMODULE hModule) const {
    strPath.Empty();
    if (hModule == nullptr) {
        hModule = ::GetModuleHandleA(nullptr);
    }
    char szPath[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
    if (length == 0) {
        return false;
    }
    // A name cut at MAX_PATH is not terminated on every system version.
    szPath[length < MAX_PATH ? length : MAX_PATH] = '\0';
    strPath = szPath;
    return true;
}
