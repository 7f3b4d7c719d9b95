#include "configure/DialogPrefill.h"

#include "framework/Text.h"

namespace configure {

DialogPrefill PrefillFromResponse(const ZOVA_ModuleScanResponseType& r) {
    DialogPrefill p{};
    p.bIpAddressValid = r.bIpAddrValid == 1;
    if (p.bIpAddressValid)
        p.dwIpAddress = r.dwIpAddr;
    p.bSubnetMaskValid = r.bSubnetMaskValid == 1;
    if (p.bSubnetMaskValid)
        p.dwSubnetMask = r.dwSubnetMask;
    p.bGatewayValid = r.bGatewayValid == 1;
    if (p.bGatewayValid)
        p.dwGateway = r.dwGateway;
    p.bPrimaryDnsValid = r.bPrimaryDnsValid == 1;
    if (p.bPrimaryDnsValid)
        p.dwPrimaryDns = r.dwPrimaryDns;
    p.bSecondaryDnsValid = r.bSecondaryDnsValid == 1;
    if (p.bSecondaryDnsValid)
        p.dwSecondaryDns = r.dwSecondaryDns;

    p.bHostnameValid = r.bHostnameValid == 1;
    if (p.bHostnameValid) {
        // At most 30 bytes are read, so an unterminated host name from the
        // device is safe here.
        framework::CopyToField(p.szHostname, r.szHostname);
    }
    p.nDhcp = (r.bDhcpValid != 0 && r.bDhcpOn != 0) ? 0 : 1;
    p.bPasswordEnabled = r.bPasswordValid != 0 && r.bPasswordOn != 0;
    return p;
}

}  // namespace configure
