// A double-click on a device opens its configuration; "Set" sends it.
#include "devicelist/DeviceListCtrl.h"

#include "configure/ConfigureRequest.h"
#include "configure/DialogPrefill.h"
#include "configure/EthernetConfigDlg.h"
#include "configure/RowMac.h"
#include "configure/StoredResponse.h"
#include "zova/ResponseRow.h"
#include "zova/zova.h"

#include <cstdlib>
#include <cstring>

namespace {

void Prefill(CEthernetConfigDlg& dlg, const DialogPrefill& values) {
    dlg.m_bIpAddressValid = values.bIpAddressValid ? 1 : 0;
    dlg.m_dwIpAddress = values.dwIpAddress;
    dlg.m_bSubnetMaskValid = values.bSubnetMaskValid ? 1 : 0;
    dlg.m_dwSubnetMask = values.dwSubnetMask;
    dlg.m_bGatewayValid = values.bGatewayValid ? 1 : 0;
    dlg.m_dwGateway = values.dwGateway;
    dlg.m_bPrimaryDnsValid = values.bPrimaryDnsValid ? 1 : 0;
    dlg.m_dwPrimaryDns = values.dwPrimaryDns;
    dlg.m_bSecondaryDnsValid = values.bSecondaryDnsValid ? 1 : 0;
    dlg.m_dwSecondaryDns = values.dwSecondaryDns;
    dlg.m_bHostnameValid = values.bHostnameValid ? 1 : 0;
    std::memcpy(dlg.m_szHostname, values.szHostname, sizeof dlg.m_szHostname);
    dlg.m_nDhcp = values.nDhcp;
    dlg.m_bPasswordEnabled = values.bPasswordEnabled ? TRUE : FALSE;
}

}  // namespace

void CDeviceListCtrl::OnLButtonDblClk(UINT, POINT point) {
    Default();
    CEthernetConfigDlg dlg;

    // x = 2 finds the row wherever along it the user clicked.
    LVHITTESTINFO hit{};
    hit.pt.x = 2;
    hit.pt.y = point.y;
    const int nRow = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (nRow < 0)
        return;
    dlg.m_strTitle = "Configure: ";
    dlg.m_strTitle += GetItemText(nRow, static_cast<int>(zova::kMacColumn));

    std::uint8_t mac[6] = {};
    if (!ReadRowMac(*this, nRow, mac))
        return;
    const ZOVA_ModuleScanResponseType* pStored = FindResponseByMac(m_responses, mac);
    if (pStored == nullptr)
        return;
    // Notifications handled during the dialog may empty or extend the stored
    // responses: work on a copy.
    const ZOVA_ModuleScanResponseType response = *pStored;
    Prefill(dlg, PrefillFromResponse(response));
    if (dlg.DoModal() != IDOK)
        return;

    const EditedSettings edited{dlg.m_szPassword,   dlg.m_szNewPassword, dlg.m_szHostname,
                                dlg.m_bChangePassword == 1, dlg.m_nDhcp,  dlg.m_dwIpAddress,
                                dlg.m_dwSubnetMask, dlg.m_dwGateway,     dlg.m_dwPrimaryDns,
                                dlg.m_dwSecondaryDns};
    ZOVA_ConfigureRequestType request =
        BuildConfigureRequest(response, edited, [] { return std::rand(); });
    std::memcpy(m_abConfiguredMac, request.abMacAddr, sizeof m_abConfiguredMac);
    ZOVA_SendConfigure(&request);
}
