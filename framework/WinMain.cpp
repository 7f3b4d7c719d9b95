// The program's entry point: the application object does all the work.
#include <windows.h>
#include <commctrl.h>

#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The list view and the IP-address fields are common controls.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return 1;
    try {
        pApp->InitInstance();
    } catch (...) {
        return 1;
    }
    return 0;
}
