#include "dhcp/AdvancedSettingsDlg.h"

#include "framework/ButtonExchange.h"
#include "res/resource.h"

CAdvancedSettingsDlg::CAdvancedSettingsDlg(CWnd* pParent)
    : CDialog(IDD_ADVANCED_SETTINGS, pParent) {}

void CAdvancedSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_ENABLE_DHCP_SERVER, m_bEnableDhcpServer);
}
