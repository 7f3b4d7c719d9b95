#include "framework/String.h"

#include "framework/WinApp.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

CString& CString::operator=(const char* psz) {
    m_str = psz ? psz : "";
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz)
        m_str += psz;
    return *this;
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list measure;
    va_copy(measure, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (nLength < 0) {
        m_str.clear();
    } else {
        std::string result(static_cast<size_t>(nLength) + 1, '\0');
        std::vsnprintf(&result[0], result.size(), pszFormat, args);
        result.resize(static_cast<size_t>(nLength));
        m_str = std::move(result);
    }
    va_end(args);
}

BOOL CString::LoadString(UINT nID) {
    // String resources are at most 4097 characters with their terminator.
    char buffer[4097];
    const int nLength = ::LoadStringA(AfxGetInstanceHandle(), nID, buffer, sizeof buffer);
    m_str.assign(buffer, nLength > 0 ? static_cast<size_t>(nLength) : 0);
    return nLength > 0;
}

int CString::Remove(char ch) {
    const auto newEnd = std::remove(m_str.begin(), m_str.end(), ch);
    const int nRemoved = static_cast<int>(m_str.end() - newEnd);
    m_str.erase(newEnd, m_str.end());
    return nRemoved;
}

int CString::Replace(const char* pszOld, const char* pszNew) {
    const size_t nOld = pszOld ? std::strlen(pszOld) : 0;
    if (nOld == 0)
        return 0;
    const std::string strNew = pszNew ? pszNew : "";
    int nCount = 0;
    for (size_t pos = m_str.find(pszOld); pos != std::string::npos;
         pos = m_str.find(pszOld, pos + strNew.size())) {
        m_str.replace(pos, nOld, strNew);
        ++nCount;
    }
    return nCount;
}

int CString::Replace(char chOld, char chNew) {
    int nCount = 0;
    for (char& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++nCount;
        }
    }
    return nCount;
}
