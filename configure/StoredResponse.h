// Finding a device's stored scan response by its MAC address.
#pragma once

#include "zova/zova.h"

#include <cstdint>
#include <vector>

// The first (oldest) response whose six MAC bytes equal mac, or null.
const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const std::uint8_t (&mac)[6]);
