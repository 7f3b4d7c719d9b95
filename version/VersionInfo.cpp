#include "version/VersionInfo.h"

#include "base/Text.h"
#include "framework/MessageBox.h"
#include "version/VersionText.h"

#include <shlwapi.h>
#include <winver.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CVFXPointer)

void CVFXPointer::Release() {
    if (m_p != nullptr && m_bOwns) {
        std::free(m_p);
    }
    m_p = nullptr;
}

namespace version {

bool ReadVersionBlock(LPCSTR pszFileName, CVFXPointer& block) {
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(pszFileName, &dwHandle);
    if (dwSize == 0) {
        return false;
    }
    block.Reset(std::calloc(dwSize + 1, 1));
    if (block.IsNull()) {
        return false;
    }
    return ::GetFileVersionInfoA(pszFileName, dwHandle, dwSize, block.Get()) != FALSE;
}

}  // namespace version

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

CVFXVersionData::CVFXVersionData() {
    Reset();
}

void CVFXVersionData::Display(bool bToStdOut) const {
    const CString text = Format();
    if (bToStdOut) {
        std::printf("%s", static_cast<const char*>(text));
    } else {
        AfxMessageBox(text, MB_ICONINFORMATION);
    }
}

void CVFXVersionData::Reset() {
    m_strFileName.Empty();
    for (int i = 0; i < 4; ++i) {
        m_wFileVersion[i] = 0;
        m_wProductVersion[i] = 0;
    }
    m_strFileVersion.Empty();
    m_strProductVersion.Empty();
    m_strCompanyName.Empty();
    m_strFileDescription.Empty();
    m_strInternalName.Empty();
    m_strLegalCopyright.Empty();
    m_strOriginalFilename.Empty();
    m_strProductName.Empty();
    m_strComments.Empty();
    m_strLegalTrademarks.Empty();
    m_strPrivateBuild.Empty();
    m_strSpecialBuild.Empty();
}

bool CVFXVersionData::IsEmpty() const {
    for (int i = 0; i < 4; ++i) {
        if (m_wFileVersion[i] != 0 || m_wProductVersion[i] != 0) {
            return false;
        }
    }
    return m_strFileName == "" && m_strFileVersion == "" && m_strProductVersion == "" &&
           m_strCompanyName == "" && m_strFileDescription == "" && m_strInternalName == "" &&
           m_strLegalCopyright == "" && m_strOriginalFilename == "" && m_strProductName == "" &&
           m_strComments == "" && m_strLegalTrademarks == "" && m_strPrivateBuild == "" &&
           m_strSpecialBuild == "";
}

void CVFXVersionData::Assign(const CVFXVersionData& other) {
    m_strFileName = other.m_strFileName;
    for (int i = 0; i < 4; ++i) {
        m_wFileVersion[i] = other.m_wFileVersion[i];
        m_wProductVersion[i] = other.m_wProductVersion[i];
    }
    m_strFileVersion = other.m_strFileVersion;
    m_strProductVersion = other.m_strProductVersion;
    m_strCompanyName = other.m_strCompanyName;
    m_strFileDescription = other.m_strFileDescription;
    m_strInternalName = other.m_strInternalName;
    m_strLegalCopyright = other.m_strLegalCopyright;
    m_strOriginalFilename = other.m_strOriginalFilename;
    m_strProductName = other.m_strProductName;
    m_strComments = other.m_strComments;
    m_strLegalTrademarks = other.m_strLegalTrademarks;
    m_strPrivateBuild = other.m_strPrivateBuild;
    m_strSpecialBuild = other.m_strSpecialBuild;
}

CString CVFXVersionData::Format() const {
    CString text;
    if (IsEmpty()) {
        text = "No version information is available";
        return text;
    }
    text.Format(
        "VS_VERSION_INFO for %s:\n\n"
        "FileVersion: %s\nProductVersion: %s\nCompanyName: %s\n"
        "FileDescription: %s\nInternalName: %s\nLegalCopyright: %s\n"
        "OriginalFileName: %s\nProductName: %s\nComments %s\n"
        "LegalTradeMarks: %s\nPrivateBuild: %s\nSpecialBuild: %s\n",
        static_cast<const char*>(m_strFileName), static_cast<const char*>(m_strFileVersion),
        static_cast<const char*>(m_strProductVersion), static_cast<const char*>(m_strCompanyName),
        static_cast<const char*>(m_strFileDescription), static_cast<const char*>(m_strInternalName),
        static_cast<const char*>(m_strLegalCopyright),
        static_cast<const char*>(m_strOriginalFilename), static_cast<const char*>(m_strProductName),
        static_cast<const char*>(m_strComments), static_cast<const char*>(m_strLegalTrademarks),
        static_cast<const char*>(m_strPrivateBuild), static_cast<const char*>(m_strSpecialBuild));
    return text;
}

IMPLEMENT_DYNAMIC(CVFXVersionInfo)

namespace {

const UINT kValueSize = 256;

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

    CString strPath = std::string(base::Trimmed(pszFileName ? pszFileName : "")).c_str();
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
