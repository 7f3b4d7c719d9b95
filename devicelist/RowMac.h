// The MAC address a device-list row shows, read back from its MAC column.
#ifndef VANTREL_DEVICELIST_ROWMAC_H
#define VANTREL_DEVICELIST_ROWMAC_H

#include "base/Address.h"
#include "framework/ListCtrl.h"

namespace devicelist {

// Reads at most 17 characters of the row's MAC text; false when it is no MAC.
bool ReadRowMac(const CListCtrl& list, int nRow, base::Mac& mac);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_ROWMAC_H
