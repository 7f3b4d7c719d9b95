// Finding a device's stored scan response by its MAC address.
#ifndef VANTREL_DEVICELIST_STOREDRESPONSE_H
#define VANTREL_DEVICELIST_STOREDRESPONSE_H

#include "base/Address.h"
#include "zova/zova.h"

#include <vector>

namespace devicelist {

// The first (oldest) response whose six MAC bytes equal mac, or null.
const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac);

}  // namespace devicelist

#endif  // VANTREL_DEVICELIST_STOREDRESPONSE_H
