#include "version/VersionInfo.h"

#include "version/Module.h"
#include "version/VersionBlock.h"
#include "version/VersionPointer.h"
#include "version/VersionText.h"

#include <shlwapi.h>
#include <winver.h>

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CVFXVersionInfo)

namespace {

const UINT kValueSize = 256;

std::string Trimmed(LPCSTR psz) {
    const std::string text = psz != nullptr ? psz : "";
    const char* const blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void ReadWords(DWORD dwMS, DWORD dwLS, WORD* pWords) {
    pWords[0] = HIWORD(dwMS);
    pWords[1] = LOWORD(dwMS);
    pWords[2] = HIWORD(dwLS);
    pWords[3] = LOWORD(dwLS);
}

}  // namespace

CVFXVersionInfo::CVFXVersionInfo(DWORD dwCodePage, WORD wLanguage) : m_wLanguage(wLanguage) {
    const LCID lcidCandidate = MAKELCID(wLanguage, SORT_DEFAULT);
    m_lcidActive =
        ::IsValidLocale(lcidCandidate, LCID_INSTALLED) ? lcidCandidate : ::GetThreadLocale();
    m_lcidSaved = ::GetThreadLocale();
    if (!::SetThreadLocale(m_lcidActive)) {
        ::SetThreadLocale(m_lcidSaved);
    }
    m_dwCodePage = dwCodePage;
}

CVFXVersionInfo::~CVFXVersionInfo() {
    ::SetThreadLocale(m_lcidSaved);
}

bool CVFXVersionInfo::Read(CVFXVersionData& data, LPCSTR pszFileName) {
    CVFXPointer block(nullptr, true);
    data.Reset();

    CString strPath = Trimmed(pszFileName).c_str();
    if (strPath.IsEmpty()) {
        if (!CVFXModule().GetModulePath(strPath)) {
            return false;
        }
    } else if (!::PathFileExistsA(strPath)) {
        return false;
    }

    if (!version::ReadVersionBlock(strPath, block)) {
        return false;
    }
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nFixedSize = 0;
    if (!::VerQueryValueA(block.Get(), "\\", reinterpret_cast<LPVOID*>(&pFixed), &nFixedSize) ||
        pFixed == nullptr || nFixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }

    data.m_strFileName = strPath;
    ReadWords(pFixed->dwProductVersionMS, pFixed->dwProductVersionLS, data.m_wProductVersion);
    ReadWords(pFixed->dwFileVersionMS, pFixed->dwFileVersionLS, data.m_wFileVersion);

    const struct {
        LPCSTR pszKey;
        CString* pstrValue;
    } strings[] = {
        {"ProductVersion", &data.m_strProductVersion},
        {"FileVersion", &data.m_strFileVersion},
        {"CompanyName", &data.m_strCompanyName},
        {"FileDescription", &data.m_strFileDescription},
        {"InternalName", &data.m_strInternalName},
        {"LegalCopyright", &data.m_strLegalCopyright},
        {"OriginalFilename", &data.m_strOriginalFilename},
        {"ProductName", &data.m_strProductName},
        {"Comments", &data.m_strComments},
        {"LegalTrademarks", &data.m_strLegalTrademarks},
        {"PrivateBuild", &data.m_strPrivateBuild},
        {"SpecialBuild", &data.m_strSpecialBuild},
    };
    for (const auto& entry : strings) {
        char szValue[kValueSize];
        if (QueryString(block.Get(), entry.pszKey, szValue, kValueSize)) {
            *entry.pstrValue = szValue;
        }
    }
    return true;
}

bool CVFXVersionInfo::QueryString(LPCVOID pBlock, LPCSTR pszKey, LPSTR pszBuffer,
                                  UINT nSize) const {
    std::memset(pszBuffer, 0, nSize);
    const std::string subBlock = version::StringValueKey(m_wLanguage, m_dwCodePage, pszKey);
    LPVOID pValue = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValueA(pBlock, subBlock.c_str(), &pValue, &nLength)) {
        return false;
    }
    if (!AfxIsValidString(static_cast<LPCSTR>(pValue), -1)) {
        return false;
    }
    version::CopyVersionValue(pszBuffer, nSize, static_cast<LPCSTR>(pValue), nLength);
    return true;
}
