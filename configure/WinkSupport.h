// Whether a device can wink: protocol version 1.10 and later.
#ifndef VANTREL_CONFIGURE_WINKSUPPORT_H
#define VANTREL_CONFIGURE_WINKSUPPORT_H

#include "zova/zova.h"

namespace configure {

inline bool SupportsWink(const ZOVA_ModuleScanResponseType& response) {
    return response.bProtocolVersionMajor > 1 ||
           (response.bProtocolVersionMajor == 1 && response.bProtocolVersionMinor >= 10);
}

}  // namespace configure

#endif  // VANTREL_CONFIGURE_WINKSUPPORT_H
