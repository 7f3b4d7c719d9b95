#include "simulator/Device.h"

#include "base/Text.h"

#include <cstring>

namespace devsim {
ZOVA_ModuleScanResponseType ScanAnswerOf(const Device& d, const std::string& challenge) {
    ZOVA_ModuleScanResponseType a{};
    a.bProtocolVersionMajor = d.protocolMajor;
    a.bProtocolVersionMinor = d.protocolMinor;
    std::memcpy(a.abMacAddr, d.mac.data(), 6);
    a.bMacAddrValid = 1;
    base::CopyToField(a.szType, d.type.c_str());
    a.bTypeValid = 1;
    a.bFwVersionMajor = d.firmwareMajor;
    a.bFwVersionMinor = d.firmwareMinor;
    a.wFwBuild = d.firmwareBuild;
    a.bFwVersionValid = 1;
    const auto address = [](std::uint32_t value, std::uint32_t& out, std::uint8_t& valid) {
        out = value;
        valid = 1;
    };
    address(d.ip, a.dwIpAddr, a.bIpAddrValid);
    address(d.mask, a.dwSubnetMask, a.bSubnetMaskValid);
    address(d.gateway, a.dwGateway, a.bGatewayValid);
    address(d.dns1, a.dwPrimaryDns, a.bPrimaryDnsValid);
    address(d.dns2, a.dwSecondaryDns, a.bSecondaryDnsValid);
    a.bDhcpOn = d.dhcp ? 1 : 0;
    a.bDhcpValid = 1;
    a.bPasswordOn = d.passwordOn ? 1 : 0;
    a.bPasswordValid = 1;
    base::CopyToField(a.szHostname, d.hostname.c_str());
    a.bHostnameValid = 1;
    if (d.salted) {
        const std::string salt = d.storedPassword.substr(0, 2) + challenge;
        base::CopyToField(a.szPasswordSalt, salt.c_str());
        a.bPasswordSaltValid = 1;
    }
    // Every item is filled in above; those the device leaves out go again.
    for (std::size_t i = 0; i < zova::wire::kAnswerItemCount; ++i) {
        const auto item = static_cast<zova::wire::AnswerItem>(i);
        if (!d.Reports(item))
            zova::wire::ForgetItem(a, item);
    }
    return a;
}

}  // namespace devsim
