// "Advanced Settings" (template 134): one check box that switches the
// recovery DHCP server on or off when the dialog closes with OK; and
// "Advanced Options", the step that shows it and then switches the server.
#ifndef VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
#define VANTREL_DHCP_ADVANCEDSETTINGSDLG_H

#include "dhcp/ServerSwitch.h"
#include "framework/Dialog.h"

class CAdvancedSettingsDlg : public CDialog {
public:
    explicit CAdvancedSettingsDlg(CWnd* pParent = nullptr);

    BOOL m_bEnableDhcpServer = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

namespace dhcp {

// Shows the dialog with the box ticked while the server is on, then switches
// it as the box says. A socket that cannot be opened is reported and leaves
// the server on without one, so the user retries by switching off and on.
void RunAdvancedOptions(ServerSwitch& server);

}  // namespace dhcp

#endif  // VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
