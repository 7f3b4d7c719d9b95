// Finds a visible top-level window of the test's own thread by its caption:
// a nested dialog that a handler opened and the test must answer.
#ifndef VANTREL_TESTS_FRAMEWORK_THREADWINDOWS_H
#define VANTREL_TESTS_FRAMEWORK_THREADWINDOWS_H

#include <windows.h>

#include <cstring>
#include <utility>

inline HWND FindThreadWindow(const char* pszCaption) {
    std::pair<const char*, HWND> search{pszCaption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM l) -> BOOL {
        auto* pSearch = reinterpret_cast<std::pair<const char*, HWND>*>(l);
        char szCaption[64] = {};
        ::GetWindowTextA(h, szCaption, sizeof szCaption);
        if (std::strcmp(szCaption, pSearch->first) != 0 || !::IsWindowVisible(h))
            return TRUE;
        pSearch->second = h;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

#endif  // VANTREL_TESTS_FRAMEWORK_THREADWINDOWS_H
