// The configure record sent to a device after "Set", and whether a device
// takes the wink request (the same record with only the MAC set).
#ifndef VANTREL_CONFIGURE_CONFIGUREREQUEST_H
#define VANTREL_CONFIGURE_CONFIGUREREQUEST_H

#include "configure/DeviceSettings.h"
#include "configure/PasswordDigest.h"
#include "zova/zova.h"

namespace configure {

// Fills the record for the device that sent response from the dialog's
// values after "Set" (texts NUL-terminated; DHCP "On" is 0, anything else
// "Off"; the new password counts only when the box is 1). Bytes not written
// (padding, the new password when unchanged) are zero. random is drawn twice
// when a salted new password is made, and never otherwise.
ZOVA_ConfigureRequestType BuildConfigureRequest(const ZOVA_ModuleScanResponseType& response,
                                                const DeviceSettings& edited,
                                                const RandomSource& random);

// Whether a device can wink: protocol version 1.10 and later; the message
// that refuses one that cannot.
inline bool SupportsWink(const ZOVA_ModuleScanResponseType& response) {
    return response.bProtocolVersionMajor > 1 ||
           (response.bProtocolVersionMajor == 1 && response.bProtocolVersionMinor >= 10);
}
inline constexpr char kWinkUnsupported[] = "Device does not support wink.";

// The wink request for the device that sent response: only the MAC carries
// meaning, every other byte is zero.
ZOVA_ConfigureRequestType BuildWinkRequest(const ZOVA_ModuleScanResponseType& response);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_CONFIGUREREQUEST_H
