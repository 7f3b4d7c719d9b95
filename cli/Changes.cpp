#include "cli/Changes.h"

#include "base/Address.h"
#include "base/Text.h"
#include "cli/Address.h"
#include "cli/Csv.h"
#include "configure/DeviceSettings.h"

#include <cstring>

namespace cli {

namespace {

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

// The length of a contiguous mask's prefix, or -1 for a mask with a gap.
int PrefixLength(std::uint32_t mask) {
    const std::uint32_t host = ~mask;
    if ((host & (host + 1)) != 0)
        return -1;
    int length = 0;
    for (std::uint32_t bits = mask; bits != 0; bits <<= 1)
        ++length;
    return length;
}

std::string SubnetText(std::uint32_t ip, std::uint32_t mask, int prefix) {
    return base::Ipv4Text(ip & mask) + '/' + std::to_string(prefix);
}

// A value the device has (not one the user gave) breaks a rule of the dialog:
// the user must give another to change anything.
std::string OwnValueError(const char* what, const std::string& value, const char* rule,
                          const char* column, Source source) {
    return std::string("current ") + what + ' ' + Quoted(value) + " is not allowed (" + rule +
           "); give " +
           (source == Source::kCommandLine ? std::string("--") + column
                                           : std::string("a new one in the ") + column + " column");
}

// Addresses no device is meant to have: a message, or empty.
std::string NewAddressError(std::uint32_t ip) {
    const std::string named = "ip " + Quoted(base::Ipv4Text(ip)) + ": ";
    if (ip == 0)
        return named + "not a device's address";
    if ((ip >> 24) == 127)
        return named + "a loopback address, which only the host itself reaches";
    if ((ip >> 28) == 0xE)
        return named + "a multicast address, not a device's";
    // The limited broadcast address ends in 255: the dialog's rule refuses it first.
    return "";
}

// The program's own address rules, for an IP or mask that changes.
std::string AddressError(const configure::DeviceSettings& before,
                         const configure::DeviceSettings& after) {
    const std::uint32_t ip = after.m_dwIpAddress, mask = after.m_dwSubnetMask;
    const bool ipChanged = ip != before.m_dwIpAddress;
    const bool maskChanged = mask != before.m_dwSubnetMask;
    const int prefix = PrefixLength(mask);
    if (maskChanged && prefix < 0)
        return "mask " + Quoted(base::Ipv4Text(mask)) + ": not a contiguous subnet mask";
    if (maskChanged && (prefix == 0 || prefix == 32))
        return "mask " + Quoted(base::Ipv4Text(mask)) + ": a /" + std::to_string(prefix) +
               (prefix == 0 ? " mask puts every address in the device's subnet"
                            : " mask leaves the device alone in its subnet");
    if (ipChanged) {
        std::string error = NewAddressError(ip);
        if (!error.empty())
            return error;
    }
    // A /31 has no network or broadcast address to keep free.
    if ((ipChanged || maskChanged) && after.m_bSubnetMaskValid == 1 && prefix >= 0 &&
        prefix <= 30) {
        const std::uint32_t host = ip & ~mask;
        if (host == 0 || host == ~mask)
            return "ip " + Quoted(base::Ipv4Text(ip)) + ": the " +
                   (host == 0 ? "network" : "broadcast") + " address of " +
                   SubnetText(ip, mask, prefix);
    }
    return "";
}

std::string GatewayWarning(const configure::DeviceSettings& before,
                           const configure::DeviceSettings& after) {
    const std::uint32_t ip = after.m_dwIpAddress, mask = after.m_dwSubnetMask,
                        gateway = after.m_dwGateway;
    const bool changed = ip != before.m_dwIpAddress || mask != before.m_dwSubnetMask ||
                         gateway != before.m_dwGateway;
    const int prefix = PrefixLength(mask);
    if (!changed || after.m_bGatewayValid != 1 || gateway == 0 || prefix < 0 ||
        (gateway & mask) == (ip & mask))
        return "";
    return "gateway " + Quoted(base::Ipv4Text(gateway)) + " is outside the subnet " +
           SubnetText(ip, mask, prefix);
}

std::string ReportedName(const ZOVA_ModuleScanResponseType& response) {
    return std::string(base::FieldText(response.szHostname));
}

bool Renames(const ZOVA_ModuleScanResponseType& response, const Changes& changes) {
    return changes.hostname && *changes.hostname != ReportedName(response);
}

// The changes onto the device's settings: only values the device reports,
// and names that fit. The error, or empty.
std::string TakeChanges(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                        configure::DeviceSettings& settings) {
    for (const AddressField& field : kAddressFields) {
        if (!(changes.*field.change))
            continue;
        if (settings.*field.valid != 1)
            return std::string(field.name) + ' ' +
                   Quoted(base::Ipv4Text(*(changes.*field.change))) +
                   ": the device does not report its " + field.what;
        settings.*field.value = *(changes.*field.change);
    }
    if (changes.hostname && settings.m_bHostnameValid != 1)
        return "hostname " + Quoted(*changes.hostname) +
               ": the device does not report its host name";
    if (Renames(response, changes)) {
        if (changes.hostname->size() > kMaxTextLength)
            return "hostname " + Quoted(*changes.hostname) + ": longer than 29 characters";
        base::CopyToField(settings.m_szHostname, changes.hostname->c_str());
    }
    if (changes.dhcp && response.bDhcpValid == 0)
        return std::string("dhcp ") + (*changes.dhcp ? "'on'" : "'off'") +
               ": the device does not report DHCP";
    if (changes.dhcp)
        settings.m_nDhcp = *changes.dhcp ? 0 : 1;
    settings.m_bChangePassword = changes.changePassword ? 1 : 0;
    return "";
}

// The rules on settings that change something. The error, or empty.
std::string RuleError(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                      const configure::DeviceSettings& before,
                      const configure::DeviceSettings& after, Source source) {
    const bool renamed = Renames(response, changes);
    // A request carries at most 29 characters of the name it keeps.
    if (!renamed && after.m_bHostnameValid == 1 && ReportedName(response).size() > kMaxTextLength)
        return OwnValueError("host name", ReportedName(response),
                             "longer than 29 characters, which a request would cut", "hostname",
                             source);
    // The dialog's rules, in its order.
    if (!configure::IsLegalHostname(after.m_szHostname))
        return renamed
                   ? "hostname " + Quoted(*changes.hostname) + ": " + configure::kIllegalHostname
                   : OwnValueError("host name", after.m_szHostname, configure::kIllegalHostname,
                                   "hostname", source);
    if (configure::EndsIn255(after.m_dwIpAddress)) {
        const std::string ip = base::Ipv4Text(after.m_dwIpAddress);
        return changes.ip && after.m_dwIpAddress != before.m_dwIpAddress
                   ? "ip " + Quoted(ip) + ": " + configure::kLastDigit255
                   : OwnValueError("IP address", ip, configure::kLastDigit255, "ip", source);
    }
    return AddressError(before, after);
}

}  // namespace

bool SetChange(Changes& changes, const std::string& name, const std::string& text,
               std::string& error) {
    if (text.empty())
        return true;
    for (const AddressField& field : kAddressFields) {
        if (name != field.name)
            continue;
        const std::optional<std::uint32_t> address = base::ParseIpv4(text);
        if (!address) {
            error = name + ' ' + Quoted(text) + ": not a dotted IPv4 address";
            return false;
        }
        changes.*field.change = *address;
        return true;
    }
    if (name == "hostname") {
        changes.hostname = text;
        return true;
    }
    if (name == "dhcp") {
        const std::string value = LowerCase(text);
        if (value != "on" && value != "off") {
            error = "dhcp " + Quoted(text) + ": on or off";
            return false;
        }
        changes.dhcp = value == "on";
        return true;
    }
    error = "unknown setting: " + name;
    return false;
}

Prepared PrepareChanges(const ZOVA_ModuleScanResponseType& response, const Changes& changes,
                        Source source) {
    Prepared prepared;
    prepared.settings = configure::SettingsFromResponse(response);
    const configure::DeviceSettings before = prepared.settings;
    prepared.error = TakeChanges(response, changes, prepared.settings);
    if (prepared.error.empty() && DescribeChanges(before, prepared.settings).empty()) {
        prepared.verdict = Verdict::kNoChange;
        return prepared;
    }
    if (prepared.error.empty())
        prepared.error = RuleError(response, changes, before, prepared.settings, source);
    if (!prepared.error.empty()) {
        prepared.verdict = Verdict::kInvalid;
        return prepared;
    }
    prepared.warning = GatewayWarning(before, prepared.settings);
    prepared.verdict = Verdict::kSend;
    return prepared;
}

PasswordNeed PasswordNeedOf(const ZOVA_ModuleScanResponseType& response) {
    if (response.bPasswordValid == 0)
        return PasswordNeed::kUnknown;
    return response.bPasswordOn != 0 ? PasswordNeed::kRequired : PasswordNeed::kNone;
}

bool SetPasswords(configure::DeviceSettings& settings, const std::string& password,
                  const std::string& newPassword, std::string& error) {
    if (password.size() > kMaxTextLength || newPassword.size() > kMaxTextLength) {
        error = "password longer than 29 characters";
        return false;
    }
    base::CopyToField(settings.m_szPassword, password.c_str());
    if (settings.m_bChangePassword == 1)
        base::CopyToField(settings.m_szNewPassword, newPassword.c_str());
    return true;
}

std::string WrongPasswordHint(const std::string& password, PasswordFrom from) {
    if (password.empty() || (password.back() != ' ' && password.back() != '\t'))
        return "";
    if (from == PasswordFrom::kPlanCell)
        return "the password cell ends in a blank, and a password cell is taken exactly: delete "
               "the blank if it is not the password's";
    return "the password ends in a blank, which `echo pw |` at the Windows command prompt "
           "adds: write `echo pw|`";
}

std::vector<std::string> DescribeChanges(const configure::DeviceSettings& before,
                                         const configure::DeviceSettings& after) {
    std::vector<std::string> lines;
    for (const AddressField& field : kAddressFields) {
        if (before.*field.value != after.*field.value)
            lines.push_back(std::string(field.name) + ' ' + base::Ipv4Text(before.*field.value) +
                            " -> " + base::Ipv4Text(after.*field.value));
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

std::string JoinChanges(const std::vector<std::string>& changes) {
    std::string text;
    for (const std::string& change : changes)
        text += (text.empty() ? "" : ", ") + change;
    return text;
}

}  // namespace cli
