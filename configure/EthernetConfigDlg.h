// The "Ethernet configuration" dialog: one device's network settings and
// password. The caller fills the "in" members of its DeviceSettings before
// DoModal and reads the "out" members afterwards; the dialog never talks to
// the device library.
#ifndef VANTREL_CONFIGURE_ETHERNETCONFIGDLG_H
#define VANTREL_CONFIGURE_ETHERNETCONFIGDLG_H

#include "configure/DeviceSettings.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"

class CEthernetConfigDlg : public CDialog, public configure::DeviceSettings {
public:
    explicit CEthernetConfigDlg(CWnd* pParentWnd = nullptr);
    ~CEthernetConfigDlg() override;

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
