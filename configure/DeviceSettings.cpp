#include "configure/DeviceSettings.h"

#include "base/Text.h"

namespace configure {

namespace {
// An address the dialog shows only when the device reported it (validity byte
// 1); otherwise its field stays blank.
void TakeAddress(std::uint8_t bReported, std::uint32_t dwReported, std::uint8_t& bValid,
                 std::uint32_t& dwAddress) {
    bValid = bReported == 1 ? 1 : 0;
    dwAddress = bValid ? dwReported : 0;
}
}  // namespace

DeviceSettings SettingsFromResponse(const ZOVA_ModuleScanResponseType& r) {
    DeviceSettings s;
    TakeAddress(r.bIpAddrValid, r.dwIpAddr, s.m_bIpAddressValid, s.m_dwIpAddress);
    TakeAddress(r.bSubnetMaskValid, r.dwSubnetMask, s.m_bSubnetMaskValid, s.m_dwSubnetMask);
    TakeAddress(r.bGatewayValid, r.dwGateway, s.m_bGatewayValid, s.m_dwGateway);
    TakeAddress(r.bPrimaryDnsValid, r.dwPrimaryDns, s.m_bPrimaryDnsValid, s.m_dwPrimaryDns);
    TakeAddress(r.bSecondaryDnsValid, r.dwSecondaryDns, s.m_bSecondaryDnsValid, s.m_dwSecondaryDns);

    s.m_bHostnameValid = r.bHostnameValid == 1 ? 1 : 0;
    if (s.m_bHostnameValid) {
        // At most 30 bytes are read, so an unterminated host name from the
        // device is safe here.
        base::CopyToField(s.m_szHostname, r.szHostname);
    }
    s.m_nDhcp = (r.bDhcpValid != 0 && r.bDhcpOn != 0) ? 0 : 1;
    s.m_bPasswordEnabled = r.bPasswordValid != 0 && r.bPasswordOn != 0;
    return s;
}

bool IsLegalHostname(const char* hostname) {
    for (const char* p = hostname; *p != '\0'; ++p) {
        const char c = *p;
        const bool legal =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!legal)
            return false;
    }
    return true;
}

}  // namespace configure
