// Reading a file's version resource: the reader CVFXVersionInfo and the
// record it fills, and what it shares with CDllVersionCheck (the block that
// holds a resource, the read into it, a loaded module's file name).
#ifndef VANTREL_VERSION_VERSIONINFO_H
#define VANTREL_VERSION_VERSIONINFO_H

#include "framework/Object.h"
#include "framework/String.h"

#include <windows.h>

// CVFXPointer: holds one heap block (from std::malloc) and frees it when it goes.
class CVFXPointer : public CObject {
    DECLARE_DYNAMIC(CVFXPointer)

public:
    CVFXPointer(void* p, bool bOwns) : m_p(p), m_bOwns(bOwns) {}
    ~CVFXPointer() override { Release(); }

    void* Get() const { return m_p; }
    bool IsNull() const { return m_p == nullptr; }
    void Reset(void* p) {
        Release();
        m_p = p;
    }

private:
    void Release();

    void* m_p;
    BYTE m_bOwns;
};

namespace version {

// Reads the version resource of the named file whole into block, which then
// owns it: zeroed first and one byte longer than the resource. The one way
// both version readers get at a resource. False when the file has no version
// resource or it cannot be read.
bool ReadVersionBlock(LPCSTR pszFileName, CVFXPointer& block);

}  // namespace version

// CVFXModule: the file name of a loaded module, by default the running program.
class CVFXModule : public CObject {
public:
    // True when the module's file name was found; strPath is emptied first.
    bool GetModulePath(CString& strPath, HANDLE hProcess = nullptr,
                       HMODULE hModule = nullptr) const;
};

// CVFXVersionData: what a version resource says, as read by CVFXVersionInfo.
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

// CVFXVersionInfo: reads a file's version resource into a CVFXVersionData.
// While a reader exists, the calling thread runs with the reader's language as
// its locale; the reader restores the previous locale when it goes.
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
