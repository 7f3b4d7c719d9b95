#include "version/DllVersionCheck.h"

#include "version/VersionText.h"

#include <winver.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct FreeBlock {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

bool CDllVersionCheck::GetDllVersion(LPCSTR pszFileName, int* pnFirst, int* pnSecond, int* pnThird) {
    char szVersion[256];
    if (!ReadFileVersionString(pszFileName, szVersion)) {
        return false;
    }
    return vantrel::SplitFileVersion(szVersion, pnFirst, pnSecond, pnThird);
}

bool CDllVersionCheck::ReadFileVersionString(LPCSTR pszFileName, char (&szVersion)[256]) {
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(pszFileName, &dwHandle);
    if (dwSize == 0) {
        return false;
    }
    // One byte more than asked for, released on every path.
    std::unique_ptr<void, FreeBlock> block(std::calloc(dwSize + 1, 1));
    if (!block) {
        return false;
    }
    if (!::GetFileVersionInfoA(pszFileName, dwHandle, dwSize, block.get())) {
        return false;
    }

    LPVOID pTranslation = nullptr;
    UINT nTranslationBytes = 0;
    if (!::VerQueryValueA(block.get(), "\\VarFileInfo\\Translation", &pTranslation,
                          &nTranslationBytes)) {
        pTranslation = nullptr;
        nTranslationBytes = 0;
    }
    const std::string key = vantrel::FileVersionKey(pTranslation, nTranslationBytes,
                                                    ::GetUserDefaultLangID());

    LPVOID pValue = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValueA(block.get(), key.c_str(), &pValue, &nLength) || pValue == nullptr) {
        return false;
    }
    vantrel::CopyVersionValue(szVersion, sizeof szVersion, static_cast<const char*>(pValue), nLength);
    return true;
}
