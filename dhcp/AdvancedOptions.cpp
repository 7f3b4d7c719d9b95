#include "dhcp/AdvancedOptions.h"

#include "dhcp/AdvancedSettingsDlg.h"
#include "dhcp/ServerSwitch.h"
#include "framework/MessageBox.h"

namespace dhcp {

void RunAdvancedOptions(CDhcpServer& server, std::atomic<bool>& running, std::thread& worker,
                        const std::function<void()>& work) {
    CAdvancedSettingsDlg dlg;
    dlg.m_bEnableDhcpServer = running ? TRUE : FALSE;
    dlg.DoModal();  // after Cancel the member still holds the current state

    if (dlg.m_bEnableDhcpServer && !running) {
        if (!server.Init())
            AfxMessageBox("DHCP server init failed", MB_OK);
        StartServerWorker(running, worker, work);
    } else if (!dlg.m_bEnableDhcpServer && running) {
        StopServer(server, running, worker);
    }
}

}  // namespace dhcp
