#include "version/VersionData.h"

#include "framework/MessageBox.h"

#include <cstdio>

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
