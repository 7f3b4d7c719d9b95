#include "version/StartupVersion.h"

#include "version/DllVersionCheck.h"
#include "version/Module.h"
#include "version/VersionInfo.h"
#include "version/VersionText.h"

#include <string>

namespace version {

namespace {
const DWORD kCodePageUnicode = 0x04B0;
const WORD kLanguageEnglishUS = 0x0409;
}  // namespace

CString MainWindowTitleFromOwnVersion() {
    CVFXVersionData data;
    CVFXVersionInfo reader(kCodePageUnicode, kLanguageEnglishUS);
    const std::string productVersion =
        reader.Read(data, nullptr) ? static_cast<const char*>(data.m_strProductVersion) : "";
    return MainWindowTitle(productVersion).c_str();
}

CString ZovaLibraryPath() {
    // The library the loader bound, wherever on the search path it was found.
    if (const HMODULE hLibrary = ::GetModuleHandleA("zova.dll")) {
        char szPath[MAX_PATH];
        const DWORD nLength = ::GetModuleFileNameA(hLibrary, szPath, sizeof szPath);
        if (nLength > 0 && nLength < sizeof szPath)
            return szPath;
    }
    CString strProgram;
    CVFXModule().GetModulePath(strProgram);
    return SiblingPath(static_cast<const char*>(strProgram), "zova.dll").c_str();
}

bool IsZovaLibraryVersionAccepted(LPCSTR pszLibraryPath) {
    // A number the file does not yield stays 0, which is not 1.
    int nFirst = 0, nSecond = 0, nThird = 0;
    CDllVersionCheck().GetDllVersion(pszLibraryPath, &nFirst, &nSecond, &nThird);
    return IsSupportedLibraryVersion(nFirst, nSecond);
}

}  // namespace version
