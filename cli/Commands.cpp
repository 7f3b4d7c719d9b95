#include "cli/Commands.h"

#include "cli/Console.h"
#include "cli/Link.h"
#include "cli/Plan.h"
#include "configure/ConfigureRequest.h"
#include "configure/WinkSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace cli {

namespace {

// The library repeats a request 150 and 400 ms after the first copy; a
// device that has not answered long after the last one will not.
constexpr std::chrono::milliseconds kResultTimeout(3000);

std::chrono::milliseconds WaitOf(const Command& command) {
    return std::chrono::milliseconds(static_cast<long long>(command.waitSeconds * 1000));
}

std::string MacText(const std::uint8_t (&mac)[6]) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

// Starts the library and scans; kSuccess or kLibraryRefused (said on stderr).
int StartAndScan(const Command& command, const std::vector<Mac>& wanted,
                 std::vector<ZOVA_ModuleScanResponseType>& answers) {
    if (!StartLibrary() || !Scan(WaitOf(command), wanted, answers)) {
        Err("vantrel-cli: zova.dll refused to start or to send\n");
        return kLibraryRefused;
    }
    return kSuccess;
}

// Starts the library and scans for the one device command names; its answer,
// or null with the status said on stderr.
const ZOVA_ModuleScanResponseType* ScanForDevice(const Command& command,
                                                 std::vector<ZOVA_ModuleScanResponseType>& answers,
                                                 int& status) {
    status = StartAndScan(command, {Mac(command.mac, command.mac + 6)}, answers);
    if (status != kSuccess)
        return nullptr;
    const ZOVA_ModuleScanResponseType* answer = FindAnswer(answers, command.mac);
    if (!answer) {
        Err("vantrel-cli: device " + MacText(command.mac) + " not found\n");
        status = kNotFound;
    }
    return answer;
}

// The passwords the settings need: the current one when the device asks for
// it (given, when the caller has it already, else read), the new one when it
// is to change.
bool ReadPasswords(configure::DeviceSettings& settings, const std::string* given,
                   std::string& error) {
    std::string password, newPassword;
    if (settings.m_bPasswordEnabled)
        password = given ? *given : ReadSecret("Password: ");
    if (settings.m_bChangePassword == 1)
        newPassword = ReadSecret("New password: ");
    return SetPasswords(settings, password, newPassword, error);
}

ZOVA_ConfigureRequestType RequestFor(const ZOVA_ModuleScanResponseType& answer,
                                     const configure::DeviceSettings& settings) {
    return configure::BuildConfigureRequest(answer, settings, [] { return std::rand(); });
}

std::string JoinChanges(const std::vector<std::string>& changes) {
    if (changes.empty())
        return "no change";
    std::string text;
    for (const std::string& change : changes)
        text += (text.empty() ? "" : ", ") + change;
    return text;
}

}  // namespace

int RunScan(const Command& command) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    if (int status = StartAndScan(command, {}, answers))
        return status;
    // Devices in the order of their MACs, so that two scans compare line by line.
    std::stable_sort(answers.begin(), answers.end(), [](const auto& a, const auto& b) {
        return std::memcmp(a.abMacAddr, b.abMacAddr, 6) < 0;
    });
    Out(FormatDevices(answers, command.format));
    return kSuccess;
}

int RunConfigure(const Command& command) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    int status = kSuccess;
    const ZOVA_ModuleScanResponseType* answer = ScanForDevice(command, answers, status);
    if (!answer)
        return status;
    configure::DeviceSettings settings;
    std::string error;
    if (!ApplyChanges(*answer, command.changes, settings, error) ||
        !ReadPasswords(settings, nullptr, error)) {
        Err("vantrel-cli: " + error + '\n');
        return kInvalidInput;
    }
    ZOVA_ConfigureRequestType request = RequestFor(*answer, settings);
    const Outcome outcome = SendConfigure(request, kResultTimeout);
    if (outcome == Outcome::kAccepted)
        Out(MacText(command.mac) + ": accepted\n");
    else
        Err("vantrel-cli: " + MacText(command.mac) + ": " + OutcomeText(outcome) + '\n');
    return StatusOf(outcome);
}

int RunApply(const Command& command) {
    std::ifstream file(command.planPath, std::ios::binary);
    if (!file) {
        Err("vantrel-cli: cannot read " + command.planPath + '\n');
        return kInvalidInput;
    }
    std::stringstream text;
    text << file.rdbuf();
    Plan plan;
    std::string error;
    if (!ParsePlan(text.str(), plan, error)) {
        Err("vantrel-cli: " + command.planPath + ": " + error + '\n');
        return kInvalidInput;
    }

    std::vector<Mac> wanted;
    for (const PlanLine& line : plan.lines)
        if (line.error.empty())
            wanted.emplace_back(line.mac, line.mac + 6);
    std::vector<ZOVA_ModuleScanResponseType> answers;
    if (int status = StartAndScan(command, wanted, answers))
        return status;

    bool sharedRead = false;
    std::string shared;
    std::vector<Outcome> outcomes;
    const std::string total = std::to_string(plan.lines.size());
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        const PlanLine& line = plan.lines[i];
        const std::string where = "line " + std::to_string(line.line) + ": " + line.macText;
        Err("[" + std::to_string(i + 1) + "/" + total + "] " + where + '\n');

        Outcome outcome = Outcome::kInvalid;
        std::string reason = line.error;
        const ZOVA_ModuleScanResponseType* answer =
            reason.empty() ? FindAnswer(answers, line.mac) : nullptr;
        configure::DeviceSettings settings;
        if (reason.empty() && !answer) {
            outcome = Outcome::kNotFound;
        } else if (reason.empty() && ApplyChanges(*answer, line.changes, settings, reason)) {
            if (command.dryRun) {
                Out(where + ": would set: " +
                    JoinChanges(
                        DescribeChanges(configure::SettingsFromResponse(*answer), settings)) +
                    '\n');
                outcomes.push_back(Outcome::kWouldApply);
                continue;
            }
            if (!plan.hasPasswordColumn && settings.m_bPasswordEnabled && !sharedRead) {
                shared = ReadSecret("Password for the plan: ");
                sharedRead = true;
            }
            const std::string& password = plan.hasPasswordColumn ? line.password : shared;
            if (ReadPasswords(settings, &password, reason)) {
                ZOVA_ConfigureRequestType request = RequestFor(*answer, settings);
                outcome = SendConfigure(request, kResultTimeout);
            }
        }
        outcomes.push_back(outcome);
        Out(where + ": " + OutcomeText(outcome) + (reason.empty() ? "" : ": " + reason) + '\n');
    }
    Out(SummaryText(outcomes) + '\n');
    const bool allWent = std::all_of(outcomes.begin(), outcomes.end(),
                                     [](Outcome outcome) { return StatusOf(outcome) == kSuccess; });
    return allWent ? kSuccess : kPlanFailures;
}

int RunWink(const Command& command) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    int status = kSuccess;
    const ZOVA_ModuleScanResponseType* answer = ScanForDevice(command, answers, status);
    if (!answer)
        return status;
    if (!configure::SupportsWink(*answer)) {
        Err("Device does not support wink.\n");
        return kWinkUnsupported;
    }
    ZOVA_ConfigureRequestType request{};
    std::memcpy(request.abMacAddr, answer->abMacAddr, sizeof request.abMacAddr);
    ZOVA_SendWink(&request);
    // The library sends its repeats 150 and 400 ms after the first copy.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Out(MacText(command.mac) + ": wink sent\n");
    return kSuccess;
}

}  // namespace cli
