#include "cli/ReadBack.h"

#include "base/Address.h"
#include "base/Text.h"
#include "cli/Address.h"

#include <map>

namespace cli {

namespace {

// One value as a scan answer reports it, or no value when it does not.
using Reported = std::optional<std::string>;

Reported Address(std::uint8_t valid, std::uint32_t address) {
    return valid == 1 ? Reported(base::Ipv4Text(address)) : std::nullopt;
}

Reported OnOff(bool on) {
    return std::string(on ? "on" : "off");
}

// The values a scan shows and a request sets, by name, in an answer and in
// what was sent.
const struct {
    const char* name;
    Reported (*inAnswer)(const ZOVA_ModuleScanResponseType&);
    Reported (*inSettings)(const configure::DeviceSettings&);
} kValues[] = {
    {"ip", [](const ZOVA_ModuleScanResponseType& a) { return Address(a.bIpAddrValid, a.dwIpAddr); },
     [](const configure::DeviceSettings& s) {
         return Address(s.m_bIpAddressValid, s.m_dwIpAddress);
     }},
    {"mask",
     [](const ZOVA_ModuleScanResponseType& a) {
         return Address(a.bSubnetMaskValid, a.dwSubnetMask);
     },
     [](const configure::DeviceSettings& s) {
         return Address(s.m_bSubnetMaskValid, s.m_dwSubnetMask);
     }},
    {"gateway",
     [](const ZOVA_ModuleScanResponseType& a) { return Address(a.bGatewayValid, a.dwGateway); },
     [](const configure::DeviceSettings& s) { return Address(s.m_bGatewayValid, s.m_dwGateway); }},
    {"dns1",
     [](const ZOVA_ModuleScanResponseType& a) {
         return Address(a.bPrimaryDnsValid, a.dwPrimaryDns);
     },
     [](const configure::DeviceSettings& s) {
         return Address(s.m_bPrimaryDnsValid, s.m_dwPrimaryDns);
     }},
    {"dns2",
     [](const ZOVA_ModuleScanResponseType& a) {
         return Address(a.bSecondaryDnsValid, a.dwSecondaryDns);
     },
     [](const configure::DeviceSettings& s) {
         return Address(s.m_bSecondaryDnsValid, s.m_dwSecondaryDns);
     }},
    {"hostname",
     [](const ZOVA_ModuleScanResponseType& a) {
         return a.bHostnameValid == 1 ? Reported(std::string(base::FieldText(a.szHostname)))
                                      : std::nullopt;
     },
     [](const configure::DeviceSettings& s) {
         return s.m_bHostnameValid == 1 ? Reported(s.m_szHostname) : std::nullopt;
     }},
    {"dhcp",
     [](const ZOVA_ModuleScanResponseType& a) {
         return a.bDhcpValid != 0 ? OnOff(a.bDhcpOn != 0) : std::nullopt;
     },
     [](const configure::DeviceSettings& s) { return OnOff(s.m_nDhcp == 0); }},
};

}  // namespace

ReadBackResult ReadBack(const ZOVA_ModuleScanResponseType& before,
                        const configure::DeviceSettings& sent,
                        const ZOVA_ModuleScanResponseType* now, std::optional<Reply> reply) {
    if (!now)
        return {Outcome::kMayHaveChanged, "it did not answer the scan after; scan to check"};
    std::string otherwise;
    bool asSent = true, asBefore = true, shows = false;
    for (const auto& value : kValues) {
        const Reported read = value.inAnswer(*now);
        const Reported wanted = value.inSettings(sent);
        if (!read || !wanted)
            continue;
        shows = shows || wanted != value.inAnswer(before);
        asBefore = asBefore && read == value.inAnswer(before);
        if (read == wanted)
            continue;
        asSent = false;
        otherwise += std::string(otherwise.empty() ? "" : ", ") + value.name + ' ' + Quoted(*read) +
                     " where " + Quoted(*wanted) + " was sent";
    }
    if (!shows) {
        // Nothing a scan shows was to change: the library's word is all there is.
        if (reply == Reply::kAccepted)
            return {Outcome::kChanged, ""};
        if (reply == Reply::kWrongPassword)
            return {Outcome::kNotChanged, ""};
        return {Outcome::kMayHaveChanged, "a new password does not show in a scan"};
    }
    if (asSent)
        return {Outcome::kChanged, ""};
    if (asBefore)
        return {Outcome::kNotChanged, ""};
    return {Outcome::kChangedOtherwise, otherwise};
}

std::vector<std::string> SharedAddresses(const std::vector<ZOVA_ModuleScanResponseType>& answers) {
    std::map<std::uint32_t, std::vector<std::string>> holders;
    for (const ZOVA_ModuleScanResponseType& answer : answers)
        if (answer.bIpAddrValid == 1 && answer.dwIpAddr != 0)
            holders[answer.dwIpAddr].push_back(base::MacText(base::MacFrom(answer.abMacAddr)));
    std::vector<std::string> shared;
    for (const auto& [ip, macs] : holders) {
        if (macs.size() < 2)
            continue;
        shared.push_back("ip " + Quoted(base::Ipv4Text(ip)) + ": " + ListText(macs));
    }
    return shared;
}

}  // namespace cli
