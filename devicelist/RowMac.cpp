#include "devicelist/RowMac.h"

#include "zova/ResponseRow.h"

namespace devicelist {

bool ReadRowMac(const CListCtrl& list, int nRow, base::Mac& mac) {
    char text[18] = {};
    LVITEMA item{};
    item.iSubItem = static_cast<int>(zova::kMacColumn);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    list.SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return zova::ParseMacText(text, mac);
}

}  // namespace devicelist
