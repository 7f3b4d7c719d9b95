#include "configure/ConfigureAction.h"

#include "configure/ConfigureRequest.h"
#include "configure/DialogPrefill.h"
#include "configure/EthernetConfigDlg.h"
#include "configure/WinkSupport.h"
#include "framework/MessageBox.h"

#include <cstdlib>
#include <cstring>

namespace configure {

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

void ConfigureDevice(const char* pszMacText, const ZOVA_ModuleScanResponseType& response,
                     std::uint8_t (&configuredMac)[6]) {
    CEthernetConfigDlg dlg;
    dlg.m_strTitle = "Configure: ";
    dlg.m_strTitle += pszMacText;
    Prefill(dlg, PrefillFromResponse(response));
    if (dlg.DoModal() != IDOK)
        return;

    const EditedSettings edited{dlg.m_szPassword,           dlg.m_szNewPassword, dlg.m_szHostname,
                                dlg.m_bChangePassword == 1, dlg.m_nDhcp,         dlg.m_dwIpAddress,
                                dlg.m_dwSubnetMask,         dlg.m_dwGateway,     dlg.m_dwPrimaryDns,
                                dlg.m_dwSecondaryDns};
    ZOVA_ConfigureRequestType request =
        BuildConfigureRequest(response, edited, [] { return std::rand(); });
    std::memcpy(configuredMac, request.abMacAddr, sizeof configuredMac);
    ZOVA_SendConfigure(&request);
}

void WinkDevice(const ZOVA_ModuleScanResponseType& response) {
    if (!SupportsWink(response)) {
        AfxMessageBox("Device does not support wink.", MB_OK);
        return;
    }
    // Only the MAC carries meaning in a wink request.
    ZOVA_ConfigureRequestType request{};
    std::memcpy(request.abMacAddr, response.abMacAddr, sizeof request.abMacAddr);
    ZOVA_SendWink(&request);
}

}  // namespace configure
