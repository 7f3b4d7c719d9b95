#include "cli/ReadBack.h"

#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Changes.h"

#include <map>

namespace cli {

namespace {

// The values that differ from one set of settings to another as the dialog
// would show them; a new password shows nowhere.
std::vector<std::string> Differences(const configure::DeviceSettings& from,
                                     configure::DeviceSettings to) {
    to.m_bChangePassword = 0;
    return DescribeChanges(from, to);
}

}  // namespace

ReadBackResult ReadBack(const ZOVA_ModuleScanResponseType& before,
                        const configure::DeviceSettings& sent,
                        const ZOVA_ModuleScanResponseType* now, std::optional<Reply> reply) {
    if (!now)
        return {Outcome::kMayHaveChanged, "it did not answer the scan after; scan to check"};
    const configure::DeviceSettings was = configure::SettingsFromResponse(before);
    const configure::DeviceSettings shown = configure::SettingsFromResponse(*now);
    if (Differences(was, sent).empty()) {
        // Nothing a scan shows was to change: the library's word is all there is.
        if (reply == Reply::kAccepted)
            return {Outcome::kChanged, ""};
        if (reply == Reply::kWrongPassword)
            return {Outcome::kNotChanged, ""};
        return {Outcome::kMayHaveChanged, "a new password does not show in a scan"};
    }
    const std::vector<std::string> otherwise = Differences(sent, shown);
    if (otherwise.empty())
        return {Outcome::kChanged, ""};
    if (Differences(was, shown).empty())
        return {Outcome::kNotChanged, ""};
    return {Outcome::kChangedOtherwise, "sent -> read: " + JoinChanges(otherwise)};
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
