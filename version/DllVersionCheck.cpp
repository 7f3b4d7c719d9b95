#include "version/DllVersionCheck.h"

#include "version/VersionPointer.h"
#include "version/VersionText.h"

#include <winver.h>

#include <cstdlib>
#include <string>

bool CDllVersionCheck::GetDllVersion(LPCSTR pszFileName, int* pnFirst, int* pnSecond,
                                     int* pnThird) {
    char szVersion[256];
    if (!ReadFileVersionString(pszFileName, szVersion)) {
        return false;
    }
    return version::SplitFileVersion(szVersion, pnFirst, pnSecond, pnThird);
}

bool CDllVersionCheck::ReadFileVersionString(LPCSTR pszFileName, char (&szVersion)[256]) {
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(pszFileName, &dwHandle);
    if (dwSize == 0) {
        return false;
    }
    // One byte more than asked for, released on every path.
    CVFXPointer block(std::calloc(dwSize + 1, 1), true);
    if (block.IsNull()) {
        return false;
    }
    if (!::GetFileVersionInfoA(pszFileName, dwHandle, dwSize, block.Get())) {
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
