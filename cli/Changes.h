// The changes asked for one device, put onto the settings it reported and
// checked with the configure dialog's rules.
#ifndef VANTREL_CLI_CHANGES_H
#define VANTREL_CLI_CHANGES_H

#include "configure/DeviceSettings.h"
#include "zova/zova.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

struct Changes {
    std::optional<std::uint32_t> ip, mask, gateway, dns1, dns2;
    std::optional<std::string> hostname;
    std::optional<bool> dhcp;  // true: on
    bool changePassword = false;
};

// Reads one value given as text into changes, by its name ("ip", "mask",
// "gateway", "dns1", "dns2", "hostname", "dhcp"). An empty text leaves the
// value alone. False, with error, for a value that cannot be read.
bool SetChange(Changes& changes, const std::string& name, const std::string& text,
               std::string& error);

// The settings to send: the device's reported ones with the changes applied.
// False, with error, when a change touches a value the device does not report
// (the dialog locks those) or the result breaks a rule: host name letters and
// digits only and at most 29 characters, last octet of the IP not 255.
bool ApplyChanges(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                  configure::DeviceSettings& settings, std::string& error);

// Puts the passwords into settings: the current one only when the device
// reports protection on (the dialog's field is read-only otherwise), the new
// one when it is to change. False, with error, for one over 29 characters.
bool SetPasswords(configure::DeviceSettings& settings, const std::string& password,
                  const std::string& newPassword, std::string& error);

// "ip 10.0.0.1 -> 10.0.0.2" for every value that differs between the
// device's settings and the ones to send.
std::vector<std::string> DescribeChanges(const configure::DeviceSettings& before,
                                         const configure::DeviceSettings& after);

}  // namespace cli

#endif  // VANTREL_CLI_CHANGES_H
