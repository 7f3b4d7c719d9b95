#include "version/StartupVersion.h"

#include "version/VersionInfo.h"
#include "version/VersionText.h"

#include <winver.h>

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

bool CDllVersionCheck::GetDllVersion(LPCSTR pszFileName, int* pnFirst, int* pnSecond,
                                     int* pnThird) {
    char szVersion[256];
    if (!ReadFileVersionString(pszFileName, szVersion)) {
        return false;
    }
    return version::SplitFileVersion(szVersion, pnFirst, pnSecond, pnThird);
}

bool CDllVersionCheck::ReadFileVersionString(LPCSTR pszFileName, char (&szVersion)[256]) {
    // Released on every path.
    CVFXPointer block(nullptr, true);
    if (!version::ReadVersionBlock(pszFileName, block)) {
        return false;
    }

    LPVOID pTranslation = nullptr;
    UINT nTranslationBytes = 0;
    if (!::VerQueryValueA(block.Get(), "\\VarFileInfo\\Translation", &pTranslation,
                          &nTranslationBytes)) {
        pTranslation = nullptr;
        nTranslationBytes = 0;
    }
    const std::string key =
        version::FileVersionKey(pTranslation, nTranslationBytes, ::GetUserDefaultLangID());

    LPVOID pValue = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValueA(block.Get(), key.c_str(), &pValue, &nLength) || pValue == nullptr) {
        return false;
    }
    version::CopyVersionValue(szVersion, sizeof szVersion, static_cast<const char*>(pValue),
                              nLength);
    return true;
}
