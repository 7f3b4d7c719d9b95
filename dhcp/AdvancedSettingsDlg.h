// "Advanced Settings" (template 134): one check box that switches the
// recovery DHCP server on or off when the dialog closes with OK; and
// "Advanced Options", the step that shows it and then switches the server.
#ifndef VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
#define VANTREL_DHCP_ADVANCEDSETTINGSDLG_H

#include "dhcp/DhcpServer.h"
#include "framework/Dialog.h"

#include <atomic>
#include <functional>
#include <thread>

class CAdvancedSettingsDlg : public CDialog {
public:
    explicit CAdvancedSettingsDlg(CWnd* pParent = nullptr);

    BOOL m_bEnableDhcpServer = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

namespace dhcp {

// Shows the dialog with the box ticked while running is set. Switching on
// opens the server's socket (a failure says so and leaves the server on
// without one, so the user retries by switching off and on), then starts
// worker on work; switching off stops it.
void RunAdvancedOptions(CDhcpServer& server, std::atomic<bool>& running, std::thread& worker,
                        const std::function<void()>& work);

}  // namespace dhcp

#endif  // VANTREL_DHCP_ADVANCEDSETTINGSDLG_H
