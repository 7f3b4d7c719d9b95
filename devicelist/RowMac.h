// The MAC address a device-list row shows, read back from its MAC column.
#ifndef VANTREL_DEVICELIST_ROWMAC_H
#define VANTREL_DEVICELIST_ROWMAC_H

#include "framework/ListCtrl.h"

#include <cstdint>

namespace devicelist {

// Reads at most 17 characters of the row's MAC text; false when it is no MAC.
bool ReadRowMac(const CListCtrl& list, int nRow, std::uint8_t (&mac)[6]);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_ROWMAC_H
