// The scan responses the list stores, and the rows it shows for them.
#include "devicelist/DeviceListCtrl.h"

#include "base/Address.h"
#include "zova/ResponseRow.h"

#include <cstring>

namespace {

// Reads at most 17 characters of the row's MAC text; false when it is no MAC.
bool ReadRowMac(const CListCtrl& list, int nRow, base::Mac& mac) {
    char text[18] = {};
    LVITEMA item{};
    item.iSubItem = static_cast<int>(zova::kMacColumn);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    list.SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return zova::ParseMacText(text, mac);
}

}  // namespace

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
        AddRowInOrder(row.texts.data(), row.texts.size());
    m_header.SetSortIndicator(m_nSortColumn, m_bSortAscending);
    Resort();
}

void CDeviceListCtrl::GetConfiguredMac(std::uint8_t* pabMac) const {
    std::memcpy(pabMac, m_abConfiguredMac, sizeof m_abConfiguredMac);
}

void CDeviceListCtrl::SetConfiguredMac(const std::uint8_t* pabMac) {
    std::memcpy(m_abConfiguredMac, pabMac, sizeof m_abConfiguredMac);
}

const ZOVA_ModuleScanResponseType* CDeviceListCtrl::FindRowResponse(int nRow) const {
    base::Mac mac{};
    if (!ReadRowMac(*this, nRow, mac))
        return nullptr;
    return zova::FindResponseByMac(m_responses, mac);
}
