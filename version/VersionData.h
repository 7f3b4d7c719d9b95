// CVFXVersionData: what a version resource says, as read by CVFXVersionInfo.
#ifndef VANTREL_VERSION_VERSIONDATA_H
#define VANTREL_VERSION_VERSIONDATA_H

#include "framework/String.h"

#include <windows.h>

class CVFXVersionData {
public:
    CVFXVersionData();
    virtual ~CVFXVersionData() = default;

    // Shows Format's text on standard output, or else in a message box.
    virtual void Display(bool bToStdOut) const;
    virtual void Reset();
    virtual bool IsEmpty() const;
    virtual void Assign(const CVFXVersionData& other);
    virtual CString Format() const;

    CString m_strFileName;
    WORD m_wFileVersion[4];  // major, minor, build, revision
    WORD m_wProductVersion[4];
    CString m_strFileVersion;
    CString m_strProductVersion;
    CString m_strCompanyName;
    CString m_strFileDescription;
    CString m_strInternalName;
    CString m_strLegalCopyright;
    CString m_strOriginalFilename;
    CString m_strProductName;
    CString m_strComments;
    CString m_strLegalTrademarks;
    CString m_strPrivateBuild;
    CString m_strSpecialBuild;
};

#endif  // VANTREL_VERSION_VERSIONDATA_H
