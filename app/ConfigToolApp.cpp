#include "app/ConfigToolApp.h"

#include "app/ConfigToolDlg.h"

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
