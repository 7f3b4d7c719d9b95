// The scan cycle of the main dialog: "Scan" and the library's notifications.
#include "app/ConfigToolDlg.h"

#include "base/Address.h"
#include "zova/zova.h"

void CConfigToolDlg::OnScan() {
    m_listDevices.DeleteAllRows();
    ZOVA_SendModuleScan();
}

namespace {
// True when the front of the library's rejected-password queue is the device
// the last configure request went to.
bool FrontRejectionIsConfiguredDevice(const CDeviceListCtrl& list) {
    base::Mac rejected{};
    if (ZOVA_GetInvPswdMacId(rejected.data()) != 1)
        return false;
    base::Mac configured{};
    list.GetConfiguredMac(configured.data());
    return rejected == configured;
}
}  // namespace

// A big scan posts thousands of notifications a second. Through the dialog
// manager each would cost two round trips to Wine's server, to store and
// then clear a result (DWLP_MSGRESULT) that nobody reads of a posted message.
BOOL CConfigToolDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_ZOVA_NOTIFY || pMsg->hwnd != m_hWnd)
        return CDialog::PreTranslateMessage(pMsg);
    OnZovaNotify(pMsg->wParam, pMsg->lParam);
    return TRUE;
}

LRESULT CConfigToolDlg::OnZovaNotify(WPARAM, LPARAM lParam) {
    switch (lParam) {
    case ZOVA_NOTIFY_RESPONSE: {
        ZOVA_ModuleScanResponseType response{};
        if (!ZOVA_GetResponse(&response))
            return 0;
        m_listDevices.AddResponse(response);
        return 1;
    }
    case ZOVA_NOTIFY_RESCAN:
        // The device took its new settings: drop its rejection, if any, and look again.
        if (FrontRejectionIsConfiguredDevice(m_listDevices))
            ZOVA_RemoveFirstInvPswdMacId();
        m_listDevices.DeleteAllRows();
        ZOVA_SendModuleScan();
        return 1;
    case ZOVA_NOTIFY_INVALID_PASSWORD:
        if (FrontRejectionIsConfiguredDevice(m_listDevices)) {
            ZOVA_RemoveFirstInvPswdMacId();
            MessageBox("Invalid password", "Warning", MB_ICONEXCLAMATION);
        }
        return 1;
    default:
        return 1;
    }
}
