// CConfigToolApp: the application object; its run is the main dialog's modal run.
#ifndef VANTREL_APP_CONFIGTOOLAPP_H
#define VANTREL_APP_CONFIGTOOLAPP_H

#include "framework/WinApp.h"

class CConfigToolApp : public CWinApp {
public:
    CConfigToolApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};

#endif  // VANTREL_APP_CONFIGTOOLAPP_H
