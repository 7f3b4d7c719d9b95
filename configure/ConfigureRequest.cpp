#include "configure/ConfigureRequest.h"

#include "base/Text.h"

#include <cstring>
#include <string>

namespace configure {

ZOVA_ConfigureRequestType BuildConfigureRequest(const ZOVA_ModuleScanResponseType& response,
                                                const DeviceSettings& edited,
                                                const RandomSource& random) {
    ZOVA_ConfigureRequestType request{};
    std::memcpy(request.abMacAddr, response.abMacAddr, sizeof request.abMacAddr);
    request.dwIpAddr = edited.m_dwIpAddress;
    request.dwSubnetMask = edited.m_dwSubnetMask;
    request.dwGateway = edited.m_dwGateway;
    request.dwPrimaryDns = edited.m_dwPrimaryDns;
    request.dwSecondaryDns = edited.m_dwSecondaryDns;
    request.bDhcpOn = edited.m_nDhcp == 0 ? 1 : 0;

    const bool salted = response.bPasswordSaltValid == 1;
    if (salted)
        base::CopyToField(request.szPassword,
                          PasswordProof(edited.m_szPassword, SaltText(response)).c_str());
    else
        base::CopyToField(request.szPassword, edited.m_szPassword);

    if (edited.m_bChangePassword == 1) {
        request.bChangePassword = 1;
        if (salted)
            base::CopyToField(request.szNewPassword,
                              SaltedNewPassword(edited.m_szNewPassword, random).c_str());
        else
            base::CopyToField(request.szNewPassword, edited.m_szNewPassword);
    }
    base::CopyToField(request.szHostname, edited.m_szHostname);
    return request;
}

ZOVA_ConfigureRequestType BuildWinkRequest(const ZOVA_ModuleScanResponseType& response) {
    ZOVA_ConfigureRequestType request{};
    std::memcpy(request.abMacAddr, response.abMacAddr, sizeof request.abMacAddr);
    return request;
}

}  // namespace configure
