// One device's settings as the configure dialog shows and edits them. The
// dialog is one of these (CEthernetConfigDlg derives from it): the device's
// scan response fills it, the user edits it in place, and the configure
// request is built from it, so the values are never copied field by field.
#ifndef VANTREL_CONFIGURE_DEVICESETTINGS_H
#define VANTREL_CONFIGURE_DEVICESETTINGS_H

#include "zova/zova.h"

#include <cstdint>

namespace configure {

struct DeviceSettings {
    // in: false makes the Password edit read-only.
    bool m_bPasswordEnabled = false;
    // out, written when the dialog closes: at most 29 characters each.
    char m_szNewPassword[30] = {};
    char m_szPassword[30] = {};
    // in and out.
    char m_szHostname[30] = {};
    std::uint32_t m_dwSubnetMask = 0;
    std::uint32_t m_dwIpAddress = 0;
    std::uint32_t m_dwGateway = 0;
    std::uint32_t m_dwPrimaryDns = 0;
    std::uint32_t m_dwSecondaryDns = 0;
    // in: 1 when the device reported the value; otherwise its field is disabled.
    std::uint8_t m_bHostnameValid = 0;
    std::uint8_t m_bSubnetMaskValid = 0;
    std::uint8_t m_bIpAddressValid = 0;
    std::uint8_t m_bGatewayValid = 0;
    std::uint8_t m_bPrimaryDnsValid = 0;
    std::uint8_t m_bSecondaryDnsValid = 0;
    // in and out: 0 = "On", 1 = "Off"; -1 selects neither.
    int m_nDhcp = -1;
    // out: 1 when "Change password" is ticked (an int, as the check box keeps it).
    int m_bChangePassword = 0;
};

// What the dialog starts with. Values whose validity byte is not 1 stay zero
// (texts empty); an unknown DHCP state shows "Off", an unknown password state
// leaves the Password edit read-only.
DeviceSettings SettingsFromResponse(const ZOVA_ModuleScanResponseType& response);

// The two checks the configure dialog makes before it accepts "Set", each
// with the message that refuses it.
// Only a-z, A-Z and 0-9; an empty name passes.
bool IsLegalHostname(const char* hostname);
inline constexpr char kIllegalHostname[] = "Illegal hostname! Only a-z, A-Z and 0-9 allowed.";

// A device address may not end in .255 (the subnet's broadcast address in the
// usual /24 networks).
inline bool EndsIn255(std::uint32_t address) {
    return (address & 0xFF) == 255;
}
inline constexpr char kLastDigit255[] = "Last digit of IP address can not be 255.";

}  // namespace configure

#endif  // VANTREL_CONFIGURE_DEVICESETTINGS_H
