// The scan responses the list stores, and the rows it shows for them.
#include "devicelist/DeviceListCtrl.h"

#include "base/Address.h"
#include "zova/ResponseRow.h"

#include <cstring>

void CDeviceListCtrl::AddResponse(const ZOVA_ModuleScanResponseType& response) {
    // A set of the stored MACs answers what a walk through every stored
    // response would, without one per answer (a scan of n devices made that
    // n^2/2 comparisons).
    if (!m_storedMacs.insert(base::MacKey(base::MacFrom(response.abMacAddr))).second)
        return;
    m_responses.push_back(response);
    // Under Wine every row added to a visible list view redraws its scroll
    // bar through the theme (about a hundred wineserver round trips); while
    // answers stream in, that happens once per burst instead.
    HoldRedrawForQueuedAnswers();

    const zova::ResponseRow row = zova::BuildResponseRow(response);
    if (row.shown)
        AddRowInOrder(row.texts.data(), row.texts.size(), m_responses.size() - 1);
    m_header.SetSortIndicator(m_nSortColumn, m_bSortAscending);
    Resort();
}

void CDeviceListCtrl::GetConfiguredMac(std::uint8_t* pabMac) const {
    std::memcpy(pabMac, m_abConfiguredMac.data(), m_abConfiguredMac.size());
}

void CDeviceListCtrl::SetConfiguredMac(const std::uint8_t* pabMac) {
    m_abConfiguredMac = base::MacFrom(pabMac);
}

const ZOVA_ModuleScanResponseType* CDeviceListCtrl::FindRowResponse(int nRow) const {
    const ROWDATA* row = nRow >= 0 && nRow < GetItemCount() ? RowAt(nRow) : nullptr;
    if (row == nullptr || row->nResponse >= m_responses.size())
        return nullptr;
    return &m_responses[row->nResponse];
}
