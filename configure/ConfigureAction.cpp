#include "configure/ConfigureAction.h"

#include "configure/ConfigureRequest.h"
#include "configure/EthernetConfigDlg.h"
#include "framework/MessageBox.h"

#include <cstdlib>

namespace configure {

void ConfigureDevice(const char* pszMacText, const ZOVA_ModuleScanResponseType& response,
                     base::Mac& configuredMac) {
    CEthernetConfigDlg dlg;
    dlg.m_strTitle = "Configure: ";
    dlg.m_strTitle += pszMacText;
    static_cast<DeviceSettings&>(dlg) = SettingsFromResponse(response);
    if (dlg.DoModal() != IDOK)
        return;

    ZOVA_ConfigureRequestType request =
        BuildConfigureRequest(response, dlg, [] { return std::rand(); });
    configuredMac = base::MacFrom(request.abMacAddr);
    ZOVA_SendConfigure(&request);
}

void WinkDevice(const ZOVA_ModuleScanResponseType& response) {
    if (!SupportsWink(response)) {
        AfxMessageBox(kWinkUnsupported, MB_OK);
        return;
    }
    ZOVA_ConfigureRequestType request = BuildWinkRequest(response);
    ZOVA_SendWink(&request);
}

}  // namespace configure
