// CVFXVersionInfo: reads a file's version resource into a CVFXVersionData.
// While a reader exists, the calling thread runs with the reader's language as
// its locale; the reader restores the previous locale when it goes.
#ifndef VANTREL_VERSION_VERSIONINFO_H
#define VANTREL_VERSION_VERSIONINFO_H

#include "framework/Object.h"
#include "version/VersionData.h"

class CVFXVersionInfo : public CObject {
    DECLARE_DYNAMIC(CVFXVersionInfo)

public:
    CVFXVersionInfo(DWORD dwCodePage, WORD wLanguage);
    ~CVFXVersionInfo() override;

    // Reads the named file, or the running program when the name is null or
    // blank. False, with the record reset, when there is no file, no version
    // resource or no fixed information; a missing string is no failure.
    bool Read(CVFXVersionData& data, LPCSTR pszFileName);

    // One string of the reader's language and code page into pszBuffer
    // (nSize bytes, always terminated; longer values are cut).
    bool QueryString(LPCVOID pBlock, LPCSTR pszKey, LPSTR pszBuffer, UINT nSize) const;

private:
    WORD m_wLanguage;
    DWORD m_dwCodePage;
    LCID m_lcidSaved;
    LCID m_lcidActive;
};

#endif  // VANTREL_VERSION_VERSIONINFO_H
