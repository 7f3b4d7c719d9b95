#include "version/DllVersionCheck.h"

#include "version/VersionBlock.h"
#include "version/VersionText.h"

#include <winver.h>

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
