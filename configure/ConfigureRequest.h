// The configure record sent to a device after "Set".
#ifndef VANTREL_CONFIGURE_CONFIGUREREQUEST_H
#define VANTREL_CONFIGURE_CONFIGUREREQUEST_H

#include "configure/PasswordDigest.h"
#include "zova/zova.h"

#include <cstdint>

namespace configure {

// The configure dialog's values after "Set"; texts are NUL-terminated.
struct EditedSettings {
    const char* szPassword;
    const char* szNewPassword;
    const char* szHostname;
    bool bChangePassword;
    int nDhcp;  // 0 = "On", anything else = "Off"
    std::uint32_t dwIpAddress;
    std::uint32_t dwSubnetMask;
    std::uint32_t dwGateway;
    std::uint32_t dwPrimaryDns;
    std::uint32_t dwSecondaryDns;
};

// Fills the record for the device that sent response. Bytes not written
// (padding, the new password when unchanged) are zero. random is drawn twice
// when a salted new password is made, and never otherwise.
ZOVA_ConfigureRequestType BuildConfigureRequest(const ZOVA_ModuleScanResponseType& response,
                                                const EditedSettings& edited,
                                                const RandomSource& random);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_CONFIGUREREQUEST_H
