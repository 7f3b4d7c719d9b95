// CString: a small single-byte string with the operations the tool uses.
#ifndef VANTREL_FRAMEWORK_STRING_H
#define VANTREL_FRAMEWORK_STRING_H

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}  // NOLINT: converts like a text literal

    operator const char*() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    CString& operator=(const char* psz);
    CString& operator+=(const char* psz);
    bool operator==(const char* psz) const { return m_str == (psz ? psz : ""); }
    bool operator!=(const char* psz) const { return !(*this == psz); }

    // printf-style formatting; the whole result is kept, however long.
    void Format(const char* pszFormat, ...);
    // Loads string resource nID of the program; FALSE (and empty) if there is none.
    BOOL LoadString(UINT nID);
    // Removes every ch; returns how many went.
    int Remove(char ch);
    // Replaces every occurrence of pszOld (not empty) by pszNew; returns how many.
    int Replace(const char* pszOld, const char* pszNew);
    int Replace(char chOld, char chNew);

private:
    std::string m_str;
};

#endif  // VANTREL_FRAMEWORK_STRING_H
