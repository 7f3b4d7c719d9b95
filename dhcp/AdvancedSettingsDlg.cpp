#include "dhcp/AdvancedSettingsDlg.h"

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

void RunAdvancedOptions(ServerSwitch& server) {
    CAdvancedSettingsDlg dlg;
    dlg.m_bEnableDhcpServer = server.IsOn() ? TRUE : FALSE;
    dlg.DoModal();  // after Cancel the member still holds the current state

    if (dlg.m_bEnableDhcpServer && !server.IsOn()) {
        if (!server.On())
            AfxMessageBox("DHCP server init failed", MB_OK);
    } else if (!dlg.m_bEnableDhcpServer && server.IsOn()) {
        server.Off();
    }
}

}  // namespace dhcp
