#include "configure/EthernetConfigDlg.h"

#include "base/Text.h"
#include "configure/DeviceSettings.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "res/Resource.h"

#include <string>

namespace {

const int kMaxTextLength = 29;

std::uint32_t AddressOf(const CIPAddressCtrl& control) {
    DWORD dwAddress = 0;
    control.GetAddress(dwAddress);
    return dwAddress;
}

void ShowAddress(CIPAddressCtrl& control, BYTE bValid, DWORD dwAddress) {
    if (bValid == 1) {
        control.SetAddress(dwAddress);
    } else {
        control.ClearAddress();
        control.EnableWindow(FALSE);
    }
}

}  // namespace

CEthernetConfigDlg::CEthernetConfigDlg(CWnd* pParentWnd)
    : CDialog(IDD_ETHERNET_CONFIG, pParentWnd),
      m_hIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME)
                          : ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CEthernetConfigDlg::~CEthernetConfigDlg() = default;

const MessageMap* CEthernetConfigDlg::GetMessageMap() const {
    static const MessageMapEntry kEntries[] = {
        msg::Create<&CEthernetConfigDlg::OnCreate>(),
        msg::Destroy<&CEthernetConfigDlg::OnDestroy>(),
        msg::Command<&CEthernetConfigDlg::OnChangePassword>(IDC_CHANGE_PASSWORD),
    };
    static const MessageMap kMap(CDialog::GetMessageMap(), kEntries);
    return &kMap;
}

void CEthernetConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOSTNAME, m_editHostname);
    DDX_Control(pDX, IDC_SECONDARY_DNS, m_ipSecondaryDns);
    DDX_Control(pDX, IDC_PRIMARY_DNS, m_ipPrimaryDns);
    DDX_Control(pDX, IDC_NEW_PASSWORD, m_editNewPassword);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Control(pDX, IDC_SUBNET_MASK, m_ipSubnetMask);
    DDX_Control(pDX, IDC_IP_ADDRESS, m_ipAddress);
    DDX_Control(pDX, IDC_GATEWAY, m_ipGateway);
    DDX_Text(pDX, IDC_NEW_PASSWORD, m_strNewPassword);
    DDV_MaxChars(pDX, m_strNewPassword, kMaxTextLength);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, kMaxTextLength);
    DDX_Radio(pDX, IDC_DHCP_ON, m_nDhcp);
    DDX_Check(pDX, IDC_CHANGE_PASSWORD, m_bChangePassword);
    DDX_Text(pDX, IDC_HOSTNAME, m_strHostname);
}

BOOL CEthernetConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                            IMAGE_ICON, 16, 16, LR_SHARED)),
            FALSE);
    SetWindowText(m_strTitle);

    if (m_bHostnameValid == 1) {
        // The caller's member may lack its NUL; show at most its 29 characters.
        const std::string hostname(base::BoundedText(m_szHostname, kMaxTextLength));
        m_editHostname.SetWindowText(hostname.c_str());
    } else {
        m_editHostname.EnableWindow(FALSE);
    }
    ShowAddress(m_ipSubnetMask, m_bSubnetMaskValid, m_dwSubnetMask);
    ShowAddress(m_ipAddress, m_bIpAddressValid, m_dwIpAddress);
    ShowAddress(m_ipGateway, m_bGatewayValid, m_dwGateway);
    ShowAddress(m_ipPrimaryDns, m_bPrimaryDnsValid, m_dwPrimaryDns);
    ShowAddress(m_ipSecondaryDns, m_bSecondaryDnsValid, m_dwSecondaryDns);

    if (!m_bPasswordEnabled)
        m_editPassword.SetReadOnly(TRUE);
    m_editNewPassword.SetReadOnly(TRUE);
    return TRUE;
}

void CEthernetConfigDlg::OnChangePassword() {
    UpdateData(TRUE);
    // The text stays either way; the caller ignores it unless ticked.
    m_editNewPassword.SetReadOnly(m_bChangePassword == 1 ? FALSE : TRUE);
}

void CEthernetConfigDlg::OnOK() {
    UpdateData(TRUE);
    if (!configure::IsLegalHostname(m_strHostname)) {
        AfxMessageBox(configure::kIllegalHostname, MB_OK);
        return;
    }
    m_dwIpAddress = AddressOf(m_ipAddress);
    if (configure::EndsIn255(m_dwIpAddress)) {
        AfxMessageBox(configure::kLastDigit255, MB_OK);
        return;
    }
    CDialog::OnOK();
}

int CEthernetConfigDlg::OnCreate(LPCREATESTRUCTA) {
    return Default() == -1 ? -1 : 0;
}

void CEthernetConfigDlg::OnDestroy() {
    // Runs after "Set" and after "Cancel" alike; the caller decides what to use.
    m_dwSubnetMask = AddressOf(m_ipSubnetMask);
    m_dwIpAddress = AddressOf(m_ipAddress);
    m_dwGateway = AddressOf(m_ipGateway);
    m_dwPrimaryDns = AddressOf(m_ipPrimaryDns);
    m_dwSecondaryDns = AddressOf(m_ipSecondaryDns);
    base::CopyToField(m_szPassword, m_strPassword);
    base::CopyToField(m_szNewPassword, m_strNewPassword);
    base::CopyToField(m_szHostname, m_strHostname);
    Default();
}
