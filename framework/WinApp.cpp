#include "framework/WinApp.h"

#include <cstring>

namespace {
CWinApp* g_pApp = nullptr;

std::string ProgramFileTitle() {
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH - 1);
    const char* pszName = std::strrchr(szPath, '\\');
    std::string strName = pszName ? pszName + 1 : szPath;
    const std::string::size_type dot = strName.rfind('.');
    if (dot != std::string::npos)
        strName.erase(dot);
    return strName;
}
}  // namespace

CWinApp::CWinApp(const char* pszAppName)
    : m_hInstance(::GetModuleHandleA(nullptr)),
      m_strAppName(pszAppName ? pszAppName : ProgramFileTitle()) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

const char* AfxGetAppName() {
    static const std::string strFallback = ProgramFileTitle();
    return g_pApp ? g_pApp->GetAppName() : strFallback.c_str();
}
