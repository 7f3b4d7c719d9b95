#include "cli/Changes.h"

#include "cli/Address.h"
#include "configure/InputRules.h"
#include "framework/Text.h"

#include <cstring>

namespace cli {

namespace {

constexpr std::size_t kMaxTextLength = 29;  // as the dialog's edits take

struct AddressField {
    const char* name;
    std::optional<std::uint32_t> Changes::*change;
    std::uint32_t configure::DeviceSettings::*value;
    std::uint8_t configure::DeviceSettings::*valid;
    const char* what;
};

const AddressField kAddressFields[] = {
    {"ip", &Changes::ip, &configure::DeviceSettings::m_dwIpAddress,
     &configure::DeviceSettings::m_bIpAddressValid, "IP address"},
    {"mask", &Changes::mask, &configure::DeviceSettings::m_dwSubnetMask,
     &configure::DeviceSettings::m_bSubnetMaskValid, "subnet mask"},
    {"gateway", &Changes::gateway, &configure::DeviceSettings::m_dwGateway,
     &configure::DeviceSettings::m_bGatewayValid, "gateway"},
    {"dns1", &Changes::dns1, &configure::DeviceSettings::m_dwPrimaryDns,
     &configure::DeviceSettings::m_bPrimaryDnsValid, "primary DNS"},
    {"dns2", &Changes::dns2, &configure::DeviceSettings::m_dwSecondaryDns,
     &configure::DeviceSettings::m_bSecondaryDnsValid, "secondary DNS"},
};

}  // namespace

bool SetChange(Changes& changes, const std::string& name, const std::string& text,
               std::string& error) {
    if (text.empty())
        return true;
    for (const AddressField& field : kAddressFields) {
        if (name != field.name)
            continue;
        std::uint32_t address = 0;
        if (!ParseAddress(text, address)) {
            error = name + ": not a dotted IPv4 address: " + text;
            return false;
        }
        changes.*field.change = address;
        return true;
    }
    if (name == "hostname") {
        changes.hostname = text;
        return true;
    }
    if (name == "dhcp") {
        if (text != "on" && text != "off") {
            error = "dhcp: on or off, not " + text;
            return false;
        }
        changes.dhcp = text == "on";
        return true;
    }
    error = "unknown setting: " + name;
    return false;
}

bool ApplyChanges(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                  configure::DeviceSettings& settings, std::string& error) {
    settings = configure::SettingsFromResponse(response);
    for (const AddressField& field : kAddressFields) {
        if (!(changes.*field.change))
            continue;
        if (settings.*field.valid != 1) {
            error = std::string("the device does not report its ") + field.what;
            return false;
        }
        settings.*field.value = *(changes.*field.change);
    }
    if (changes.hostname) {
        if (settings.m_bHostnameValid != 1) {
            error = "the device does not report its host name";
            return false;
        }
        if (changes.hostname->size() > kMaxTextLength) {
            error = "host name longer than 29 characters";
            return false;
        }
        framework::CopyToField(settings.m_szHostname, changes.hostname->c_str());
    }
    if (!configure::IsLegalHostname(settings.m_szHostname)) {
        error = "Illegal hostname! Only a-z, A-Z and 0-9 allowed.";
        return false;
    }
    if (configure::EndsIn255(settings.m_dwIpAddress)) {
        error = "Last digit of IP address can not be 255.";
        return false;
    }
    if (changes.dhcp)
        settings.m_nDhcp = *changes.dhcp ? 0 : 1;
    settings.m_bChangePassword = changes.changePassword ? 1 : 0;
    return true;
}

bool SetPasswords(configure::DeviceSettings& settings, const std::string& password,
                  const std::string& newPassword, std::string& error) {
    if (password.size() > kMaxTextLength || newPassword.size() > kMaxTextLength) {
        error = "password longer than 29 characters";
        return false;
    }
    if (settings.m_bPasswordEnabled)
        framework::CopyToField(settings.m_szPassword, password.c_str());
    if (settings.m_bChangePassword == 1)
        framework::CopyToField(settings.m_szNewPassword, newPassword.c_str());
    return true;
}

std::vector<std::string> DescribeChanges(const configure::DeviceSettings& before,
                                         const configure::DeviceSettings& after) {
    std::vector<std::string> lines;
    for (const AddressField& field : kAddressFields) {
        if (before.*field.value != after.*field.value)
            lines.push_back(std::string(field.name) + ' ' + AddressText(before.*field.value) +
                            " -> " + AddressText(after.*field.value));
    }
    if (std::strcmp(before.m_szHostname, after.m_szHostname) != 0)
        lines.push_back(std::string("hostname ") + before.m_szHostname + " -> " +
                        after.m_szHostname);
    if (before.m_nDhcp != after.m_nDhcp)
        lines.push_back(std::string("dhcp ") + (before.m_nDhcp == 0 ? "on" : "off") + " -> " +
                        (after.m_nDhcp == 0 ? "on" : "off"));
    if (after.m_bChangePassword == 1)
        lines.push_back("password changes");
    return lines;
}

}  // namespace cli
