// "Advanced Settings" (template 134): one check box that switches the
// recovery DHCP server on or off when the dialog closes with OK.
#ifndef VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
#define VANTREL_DHCP_ADVANCEDSETTINGSDLG_H

#include "framework/Dialog.h"

class CAdvancedSettingsDlg : public CDialog {
public:
    explicit CAdvancedSettingsDlg(CWnd* pParent = nullptr);

    BOOL m_bEnableDhcpServer = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

#endif  // VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
