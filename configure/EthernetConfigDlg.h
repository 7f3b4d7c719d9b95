// The "Ethernet configuration" dialog: one device's network settings and
// password. The caller fills the "in" members before DoModal and reads the
// "out" members afterwards; the dialog never talks to the device library.
#ifndef VANTREL_CONFIGURE_ETHERNETCONFIGDLG_H
#define VANTREL_CONFIGURE_ETHERNETCONFIGDLG_H

#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/IPAddressCtrl.h"
#include "framework/String.h"

class CEthernetConfigDlg : public CDialog {
public:
    explicit CEthernetConfigDlg(CWnd* pParentWnd = nullptr);
    ~CEthernetConfigDlg() override;

    // in: FALSE makes the Password edit read-only.
    BOOL m_bPasswordEnabled = FALSE;
    // out, written when the window closes: at most 29 characters each.
    char m_szNewPassword[30] = {};
    char m_szPassword[30] = {};
    // in and out.
    char m_szHostname[30] = {};
    DWORD m_dwSubnetMask = 0;
    DWORD m_dwIpAddress = 0;
    DWORD m_dwGateway = 0;
    DWORD m_dwPrimaryDns = 0;
    DWORD m_dwSecondaryDns = 0;
    // in: 1 when the device reported the value; otherwise its field is disabled.
    BYTE m_bHostnameValid = 0;
    BYTE m_bSubnetMaskValid = 0;
    BYTE m_bIpAddressValid = 0;
    BYTE m_bGatewayValid = 0;
    BYTE m_bPrimaryDnsValid = 0;
    BYTE m_bSecondaryDnsValid = 0;
    CString m_strTitle;

    CEdit m_editHostname;
    CIPAddressCtrl m_ipSecondaryDns;
    CIPAddressCtrl m_ipPrimaryDns;
    CEdit m_editNewPassword;
    CEdit m_editPassword;
    CIPAddressCtrl m_ipSubnetMask;
    CIPAddressCtrl m_ipAddress;
    CIPAddressCtrl m_ipGateway;
    CString m_strNewPassword;
    CString m_strPassword;
    int m_nDhcp = -1;  // 0 = "On", 1 = "Off"
    BOOL m_bChangePassword = FALSE;
    CString m_strHostname;
    HICON m_hIcon;

    BOOL OnInitDialog() override;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    int OnCreate(LPCREATESTRUCTA pCreateStruct);
    void OnDestroy();
    void OnChangePassword();
};

#endif  // VANTREL_CONFIGURE_ETHERNETCONFIGDLG_H
