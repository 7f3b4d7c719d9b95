#include "configure/ConfigureRequest.h"

#include <cstring>
#include <string>

namespace {

template <std::size_t N>
void CopyText(char (&field)[N], const char* text)
{
    std::strncpy(field, text, N);
    field[N - 1] = '\0';
}

} // namespace

ZOVA_ConfigureRequestType BuildConfigureRequest(const ZOVA_ModuleScanResponseType& response,
                                                const EditedSettings& edited,
                                                const RandomSource& random)
{
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
        CopyText(request.szPassword, PasswordProof(edited.szPassword, SaltText(response)).c_str());
    else
        CopyText(request.szPassword, edited.szPassword);

    if (edited.bChangePassword) {
        request.bChangePassword = 1;
        if (salted)
            CopyText(request.szNewPassword, SaltedNewPassword(edited.szNewPassword, random).c_str());
        else
            CopyText(request.szNewPassword, edited.szNewPassword);
    }
    CopyText(request.szHostname, edited.szHostname);
    return request;
}
