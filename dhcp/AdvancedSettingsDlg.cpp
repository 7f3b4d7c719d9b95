#include "dhcp/AdvancedSettingsDlg.h"

#include "dhcp/ServerSwitch.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "res/Resource.h"

CAdvancedSettingsDlg::CAdvancedSettingsDlg(CWnd* pParent)
    : CDialog(IDD_ADVANCED_SETTINGS, pParent) {}

void CAdvancedSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_ENABLE_DHCP_SERVER, m_bEnableDhcpServer);
}

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
