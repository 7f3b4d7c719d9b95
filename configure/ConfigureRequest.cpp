#include "configure/ConfigureRequest.h"

#include "framework/Text.h"

#include <cstring>
#include <string>

namespace configure {

ZOVA_ConfigureRequestType BuildConfigureRequest(const ZOVA_ModuleScanResponseType& response,
                                                const EditedSettings& edited,
                                                const RandomSource& random) {
    ZOVA_ConfigureRequestType request{};
    std::memcpy(request.abMacAddr, response.abMacAddr, sizeof request.abMacAddr);
    request.dwIpAddr = edited.dwIpAddress;
    request.dwSubnetMask = edited.dwSubnetMask;
    request.dwGateway = edited.dwGateway;
    request.dwPrimaryDns = edited.dwPrimaryDns;
    request.dwSecondaryDns = edited.dwSecondaryDns;
    request.bDhcpOn = edited.nDhcp == 0 ? 1 : 0;

    const bool salted = response.bPasswordSaltValid == 1;
    if (salted)
        framework::CopyToField(request.szPassword,
                               PasswordProof(edited.szPassword, SaltText(response)).c_str());
    else
        framework::CopyToField(request.szPassword, edited.szPassword);

    if (edited.bChangePassword) {
        request.bChangePassword = 1;
        if (salted)
            framework::CopyToField(request.szNewPassword,
                                   SaltedNewPassword(edited.szNewPassword, random).c_str());
        else
            framework::CopyToField(request.szNewPassword, edited.szNewPassword);
    }
    framework::CopyToField(request.szHostname, edited.szHostname);
    return request;
}

}  // namespace configure
