// The tool's program: its application object, whose run is the main dialog's
// modal run.
#include "app/ConfigToolDlg.h"
#include "framework/WinApp.h"

class CConfigToolApp : public CWinApp {
public:
    CConfigToolApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};

BOOL CConfigToolApp::InitInstance() {
    CConfigToolDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The program ends here, without a message loop of its own.
    return FALSE;
}

// The one application object, constructed before the entry point runs.
CConfigToolApp theApp;
