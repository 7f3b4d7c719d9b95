// CWinApp: the program's one application object. The program derives from
// it, defines one static instance, and does its work in InitInstance, which
// the entry point (WinMain.cpp) calls once.
#ifndef VANTREL_FRAMEWORK_WINAPP_H
#define VANTREL_FRAMEWORK_WINAPP_H

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    // pszAppName null: the program file's name without its extension.
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's whole run. Dialog-based programs run their main dialog
    // here; the program ends when it returns.
    virtual BOOL InitInstance() { return FALSE; }

    HICON LoadIcon(UINT nIDResource) const;
    const char* GetAppName() const { return m_strAppName.c_str(); }

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_strAppName;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
const char* AfxGetAppName();

#endif  // VANTREL_FRAMEWORK_WINAPP_H
