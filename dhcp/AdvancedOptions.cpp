// "Advanced Options": switches the recovery DHCP server on and off, and the
// worker that polls it while it is on.
#include "app/ConfigToolDlg.h"

#include "dhcp/AdvancedSettingsDlg.h"
#include "framework/MessageBox.h"

#include <system_error>

UINT DhcpServerThread(LPVOID pParam) {
    CConfigToolDlg* pDlg = static_cast<CConfigToolDlg*>(pParam);
    while (pDlg->m_bDhcpServerRunning) {
        pDlg->m_dhcpServer.Poll();
        ::Sleep(50);
    }
    return 0;
}

void CConfigToolDlg::OnAdvancedOptions() {
    CAdvancedSettingsDlg dlg;
    dlg.m_bEnableDhcpServer = m_bDhcpServerRunning ? TRUE : FALSE;
    dlg.DoModal();  // after Cancel the member still holds the current state

    if (dlg.m_bEnableDhcpServer && !m_bDhcpServerRunning) {
        if (!m_dhcpServer.Init())
            AfxMessageBox("DHCP server init failed", MB_OK);
        // Still on without a socket: the box reopens checked, so the user
        // retries by switching off and on again.
        m_bDhcpServerRunning = true;
        try {
            m_dhcpServerThread = std::thread(DhcpServerThread, this);
        } catch (const std::system_error&) {
            // Left on without a worker, as a failed thread start leaves it.
        }
    } else if (!dlg.m_bEnableDhcpServer && m_bDhcpServerRunning) {
        StopDhcpServer();
    }
}

void CConfigToolDlg::StopDhcpServer() {
    if (!m_bDhcpServerRunning && !m_dhcpServerThread.joinable())
        return;
    m_bDhcpServerRunning = false;
    // The worker ends within one poll and one pause. Waiting for it before
    // closing the socket means no poll ever acts on a closed (or reused)
    // handle, and no second worker can overlap it.
    if (m_dhcpServerThread.joinable())
        m_dhcpServerThread.join();
    m_dhcpServer.Cleanup();
}
