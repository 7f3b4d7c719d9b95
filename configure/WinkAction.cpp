// "Wink": the selected device signals its position.
#include "app/ConfigToolDlg.h"

#include "configure/RowMac.h"
#include "configure/StoredResponse.h"
#include "configure/WinkSupport.h"
#include "framework/MessageBox.h"
#include "zova/zova.h"

void CConfigToolDlg::OnWink() {
    const int nRow = m_listDevices.GetNextItem(-1, LVNI_SELECTED);
    if (nRow < 0)
        return;
    // Only the MAC carries meaning in a wink request.
    ZOVA_ConfigureRequestType request{};
    if (!ReadRowMac(m_listDevices, nRow, request.abMacAddr))
        return;
    const ZOVA_ModuleScanResponseType* pStored =
        FindResponseByMac(m_listDevices.GetResponses(), request.abMacAddr);
    if (pStored == nullptr)
        return;
    if (!SupportsWink(*pStored)) {
        AfxMessageBox("Device does not support wink.", MB_OK);
        return;
    }
    ZOVA_SendWink(&request);
}
