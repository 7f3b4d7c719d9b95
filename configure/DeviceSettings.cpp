#include "configure/DeviceSettings.h"

#include "framework/Text.h"

namespace configure {

DeviceSettings SettingsFromResponse(const ZOVA_ModuleScanResponseType& r) {
    DeviceSettings s;
    s.m_bIpAddressValid = r.bIpAddrValid == 1 ? 1 : 0;
    if (s.m_bIpAddressValid)
        s.m_dwIpAddress = r.dwIpAddr;
    s.m_bSubnetMaskValid = r.bSubnetMaskValid == 1 ? 1 : 0;
    if (s.m_bSubnetMaskValid)
        s.m_dwSubnetMask = r.dwSubnetMask;
    s.m_bGatewayValid = r.bGatewayValid == 1 ? 1 : 0;
    if (s.m_bGatewayValid)
        s.m_dwGateway = r.dwGateway;
    s.m_bPrimaryDnsValid = r.bPrimaryDnsValid == 1 ? 1 : 0;
    if (s.m_bPrimaryDnsValid)
        s.m_dwPrimaryDns = r.dwPrimaryDns;
    s.m_bSecondaryDnsValid = r.bSecondaryDnsValid == 1 ? 1 : 0;
    if (s.m_bSecondaryDnsValid)
        s.m_dwSecondaryDns = r.dwSecondaryDns;

    s.m_bHostnameValid = r.bHostnameValid == 1 ? 1 : 0;
    if (s.m_bHostnameValid) {
        // At most 30 bytes are read, so an unterminated host name from the
        // device is safe here.
        framework::CopyToField(s.m_szHostname, r.szHostname);
    }
    s.m_nDhcp = (r.bDhcpValid != 0 && r.bDhcpOn != 0) ? 0 : 1;
    s.m_bPasswordEnabled = r.bPasswordValid != 0 && r.bPasswordOn != 0;
    return s;
}

}  // namespace configure
