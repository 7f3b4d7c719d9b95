// Whether a device can wink: protocol version 1.10 and later.
#pragma once

#include "zova/zova.h"

inline bool SupportsWink(const ZOVA_ModuleScanResponseType& response)
{
    return response.bProtocolVersionMajor > 1 ||
           (response.bProtocolVersionMajor == 1 && response.bProtocolVersionMinor >= 10);
}
