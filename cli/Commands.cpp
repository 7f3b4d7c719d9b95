#include "cli/Commands.h"

#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Console.h"
#include "cli/Link.h"
#include "cli/PlanCheck.h"
#include "configure/ConfigureRequest.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace cli {

namespace {

// A device that has not answered well after the library's last copy of the
// request will not.
constexpr std::chrono::milliseconds kResultTimeout(3000);
static_assert(kResultTimeout.count() >= 2 * zova::kLastCopyDelayMs, "time after the last copy");

// The library's receiver thread sends a due copy within its 20 ms receive
// slice; this leaves it time to, on a busy machine too.
constexpr std::chrono::milliseconds kLastCopyLeaves(zova::kLastCopyDelayMs + 100);

std::chrono::milliseconds WaitOf(const Command& command) {
    return std::chrono::milliseconds(static_cast<long long>(command.waitSeconds * 1000));
}

// Checks the target, starts the library and scans; kSuccess or
// kLibraryRefused (said on stderr).
int StartAndScan(const Command& command, const std::vector<std::uint64_t>& wanted,
                 std::vector<ZOVA_ModuleScanResponseType>& answers) {
    std::string error;
    if (!CheckTarget(TargetSetting(), error)) {
        Err("vantrel-cli: " + error + '\n');
        return kLibraryRefused;
    }
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
    status = StartAndScan(command, {base::MacKey(command.mac)}, answers);
    if (status != kSuccess)
        return nullptr;
    const ZOVA_ModuleScanResponseType* answer = FindAnswer(answers, command.mac);
    if (!answer) {
        Err("vantrel-cli: device " + base::MacText(command.mac) + " not found\n");
        status = kNotFound;
    }
    return answer;
}

// Reads what configure needs from standard input: the password when the
// device asks for one, the new one when it is to change (at a console twice).
// False, said on stderr, when a line is missing or the two new ones differ:
// nothing may be sent then.
bool ReadPasswords(const std::string& mac, const configure::DeviceSettings& settings,
                   std::string& password, std::string& newPassword) {
    if (settings.m_bPasswordEnabled && !ReadSecret("Password for " + mac + ": ", password)) {
        Err("vantrel-cli: no password given for " + mac + "; nothing was sent\n");
        return false;
    }
    if (settings.m_bChangePassword != 1)
        return true;
    if (!ReadSecret("New password for " + mac + ": ", newPassword)) {
        Err("vantrel-cli: no new password given for " + mac + "; nothing was sent\n");
        return false;
    }
    std::string again;
    if (InputIsConsole() && (!ReadSecret("New password again: ", again) || again != newPassword)) {
        Err("vantrel-cli: the new passwords differ; nothing was sent\n");
        return false;
    }
    return true;
}

ZOVA_ConfigureRequestType RequestFor(const ZOVA_ModuleScanResponseType& answer,
                                     const configure::DeviceSettings& settings) {
    return configure::BuildConfigureRequest(answer, settings, [] { return std::rand(); });
}

std::string JoinChanges(const std::vector<std::string>& changes) {
    std::string text;
    for (const std::string& change : changes)
        text += (text.empty() ? "" : ", ") + change;
    return text;
}

std::string WithHint(const std::string& text, const std::string& hint) {
    return hint.empty() ? text : text + ": " + hint;
}

}  // namespace

int RunScan(const Command& command) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    if (int status = StartAndScan(command, {}, answers))
        return status;
    SortByMac(answers);
    Out(FormatDevices(answers, command.format));
    if (answers.empty()) {
        Err("vantrel-cli: no device answered\n");
        return kNotFound;
    }
    if (AnswersLost()) {
        Err("vantrel-cli: answers were lost on the way, so devices may be missing; scan again\n");
        return kAnswersLost;
    }
    if (StillAnswering()) {
        Err("vantrel-cli: devices were still answering when the wait ended, so some may be "
            "missing; scan again with a longer --wait\n");
        return kAnswersLost;
    }
    return kSuccess;
}

int RunConfigure(const Command& command) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    int status = kSuccess;
    const ZOVA_ModuleScanResponseType* answer = ScanForDevice(command, answers, status);
    if (!answer)
        return status;
    const std::string mac = base::MacText(command.mac);
    Prepared prepared = PrepareChanges(*answer, command.changes, Source::kCommandLine);
    if (prepared.verdict == Verdict::kInvalid) {
        Err("vantrel-cli: " + prepared.error + '\n');
        return kInvalidInput;
    }
    if (prepared.verdict == Verdict::kNoChange) {
        Out(mac + ": no change\n");
        return kSuccess;
    }
    if (!prepared.warning.empty())
        Err("vantrel-cli: warning: " + prepared.warning + '\n');
    std::string password, newPassword, error;
    if (!ReadPasswords(mac, prepared.settings, password, newPassword))
        return kInvalidInput;
    if (!SetPasswords(prepared.settings, password, newPassword, error)) {
        Err("vantrel-cli: " + error + '\n');
        return kInvalidInput;
    }
    ZOVA_ConfigureRequestType request = RequestFor(*answer, prepared.settings);
    const Outcome outcome = SendConfigure(request, kResultTimeout);
    if (outcome == Outcome::kAccepted)
        Out(mac + ": accepted\n");
    else
        Err("vantrel-cli: " + mac + ": " +
            WithHint(OutcomeText(outcome),
                     outcome == Outcome::kWrongPassword ? WrongPasswordHint(password) : "") +
            '\n');
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

    std::vector<std::uint64_t> wanted;
    for (const PlanLine& line : plan.lines)
        if (line.error.empty())
            wanted.push_back(base::MacKey(line.mac));
    std::vector<ZOVA_ModuleScanResponseType> answers;
    if (int status = StartAndScan(command, wanted, answers))
        return status;
    const std::vector<LineCheck> checks = CheckPlan(plan, answers);

    // The lines to send, and the one password for those without their own,
    // read before anything is sent.
    std::size_t toSend = 0, needShared = 0, firstNeeding = 0;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].outcome != Outcome::kWouldApply)
            continue;
        ++toSend;
        if (checks[i].settings.m_bPasswordEnabled && !plan.lines[i].password && needShared++ == 0)
            firstNeeding = i;
    }
    std::string shared;
    if (!command.dryRun && needShared > 0) {
        const PlanLine& first = plan.lines[firstNeeding];
        const std::string devices =
            std::to_string(needShared) + (needShared == 1 ? " device needs" : " devices need");
        if (!ReadSecret("Password for the plan (" + devices + " it): ", shared)) {
            Err("vantrel-cli: no password given for line " + std::to_string(first.line) + ": " +
                base::MacText(first.mac) + " (" + devices + " one); nothing was sent\n");
            return kInvalidInput;
        }
        if (shared.size() > kMaxTextLength) {
            Err("vantrel-cli: password longer than 29 characters; nothing was sent\n");
            return kInvalidInput;
        }
    }

    std::vector<Outcome> outcomes;
    outcomes.reserve(checks.size());
    std::size_t sent = 0;
    Out(ReportStart(command.format));
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const PlanLine& line = plan.lines[i];
        const LineCheck& check = checks[i];
        LineReport report{line.line, line.error.empty() ? base::MacText(line.mac) : line.macText,
                          check.outcome, check.reason};
        const std::string where = "line " + std::to_string(line.line) + ": " + report.mac;
        if (!check.warning.empty())
            Err("vantrel-cli: " + where + ": warning: " + check.warning + '\n');
        if (check.outcome == Outcome::kWouldApply && command.dryRun) {
            report.reason = JoinChanges(
                DescribeChanges(configure::SettingsFromResponse(*check.answer), check.settings));
        } else if (check.outcome == Outcome::kWouldApply) {
            Err("[" + std::to_string(++sent) + "/" + std::to_string(toSend) + "] " + where + '\n');
            const std::string& password = line.password ? *line.password : shared;
            configure::DeviceSettings settings = check.settings;
            SetPasswords(settings, password, "", error);  // lengths checked above
            ZOVA_ConfigureRequestType request = RequestFor(*check.answer, settings);
            report.outcome = SendConfigure(request, kResultTimeout);
            if (report.outcome == Outcome::kWrongPassword)
                report.reason = WrongPasswordHint(password);
        }
        outcomes.push_back(report.outcome);
        Out(ReportLine(command.format, report, i == 0));
    }
    Out(ReportEnd(command.format, checks.empty()));
    // A script reading CSV or JSON gets nothing else on standard output.
    (command.format == Format::kTable ? Out : Err)(SummaryText(outcomes) + '\n');
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
    // Winks are not acknowledged; the library's copies leave only while the
    // program runs.
    std::this_thread::sleep_for(kLastCopyLeaves);
    Out(base::MacText(command.mac) + ": wink sent\n");
    return kSuccess;
}

}  // namespace cli
