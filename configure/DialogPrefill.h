// What the configure dialog starts with, taken from the device's scan response.
#ifndef VANTREL_CONFIGURE_DIALOGPREFILL_H
#define VANTREL_CONFIGURE_DIALOGPREFILL_H

#include "zova/zova.h"

#include <cstdint>

namespace configure {

struct DialogPrefill {
    bool bPasswordEnabled;
    char szHostname[30];
    std::uint32_t dwSubnetMask;
    std::uint32_t dwIpAddress;
    std::uint32_t dwGateway;
    std::uint32_t dwPrimaryDns;
    std::uint32_t dwSecondaryDns;
    bool bHostnameValid;
    bool bSubnetMaskValid;
    bool bIpAddressValid;
    bool bGatewayValid;
    bool bPrimaryDnsValid;
    bool bSecondaryDnsValid;
    int nDhcp;  // 0 = "On"; an unknown state shows "Off" (1)
};

// Values whose validity byte is not 1 stay zero (texts empty).
DialogPrefill PrefillFromResponse(const ZOVA_ModuleScanResponseType& response);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_DIALOGPREFILL_H
