// apply: read the plan, scan, check, prompt, send, read back, report.
#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/PlanSend.h"
#include "cli/ReadBack.h"
#include "cli/Report.h"
#include "cli/Session.h"
#include "configure/ConfigureRequest.h"
#include "zova/ResponseRow.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace cli {

namespace {

std::string Where(const PlanLine& line) {
    return "line " + std::to_string(line.line) + ": " + base::MacText(line.mac);
}

int ReadPlanFile(const std::string& path, Plan& plan) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Err("vantrel-cli: cannot read " + path + '\n');
        return kInvalidInput;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::string error;
    if (!ParsePlan(text.str(), SystemCodePage(), plan, error)) {
        Err("vantrel-cli: " + path + ": " + error + '\n');
        return kInvalidInput;
    }
    return kSuccess;
}

// A gateway outside its subnet is said, and sent all the same.
void SayWarnings(const Plan& plan, const std::vector<LineCheck>& checks) {
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i].outcome == Outcome::kWouldApply && !checks[i].warning.empty())
            Err("vantrel-cli: " + Where(plan.lines[i]) + ": warning: " + checks[i].warning + '\n');
}

// The one password for the lines without their own, read before anything is
// sent: needed when such a line's device asks for one, and taken for those
// that do not say whether they have one. kSuccess, or kInvalidInput said.
int ReadSharedPassword(const Plan& plan, const std::vector<LineCheck>& checks,
                       std::string& shared) {
    std::size_t needing = 0, unsure = 0, firstNeeding = 0;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].outcome != Outcome::kWouldApply || plan.lines[i].password)
            continue;
        const PasswordNeed need = PasswordNeedOf(*checks[i].answer);
        if (need == PasswordNeed::kRequired && needing++ == 0)
            firstNeeding = i;
        unsure += need == PasswordNeed::kUnknown;
    }
    if (needing == 0 && unsure == 0)
        return kSuccess;
    const auto devices = [](std::size_t n, const char* verbs) {
        return std::to_string(n) + (n == 1 ? " device " : " devices ") + verbs;
    };
    const std::string need = devices(needing, needing == 1 ? "needs" : "need");
    const std::string prompt =
        needing > 0
            ? "Password for the plan (" + need + " it): "
            : "Password for the plan (" + devices(unsure, "may need") + " it; Enter for none): ";
    if (!ReadSecret(prompt, shared) && needing > 0) {
        Err("vantrel-cli: no password given for " + Where(plan.lines[firstNeeding]) + " (" + need +
            " one); nothing was sent\n");
        return kInvalidInput;
    }
    if (shared.size() > kMaxTextLength) {
        Err("vantrel-cli: password longer than 29 characters; nothing was sent\n");
        return kInvalidInput;
    }
    return kSuccess;
}

const std::string& PasswordOf(const PlanLine& line, const std::string& shared) {
    return line.password ? *line.password : shared;
}

// Sends the lines that would apply, each with a progress line.
std::vector<LineSent> SendLines(const Command& command, const Plan& plan,
                                std::vector<LineCheck>& checks, const std::string& shared,
                                ResultLedger& ledger) {
    const std::size_t toSend = static_cast<std::size_t>(std::count_if(
        checks.begin(), checks.end(),
        [](const LineCheck& check) { return check.outcome == Outcome::kWouldApply; }));
    std::size_t sent = 0;
    SendHooks hooks;
    hooks.interrupted = &Interrupted;
    hooks.send = [&](std::size_t i) {
        Err("[" + std::to_string(++sent) + "/" + std::to_string(toSend) + "] " +
            Where(plan.lines[i]) + '\n');
        std::string error;
        SetPasswords(checks[i].settings, PasswordOf(plan.lines[i], shared), "", error);  // checked
        ZOVA_ConfigureRequestType request = configure::BuildConfigureRequest(
            *checks[i].answer, checks[i].settings, [] { return std::rand(); });
        SendConfigure(request, kResultTimeout, ledger);
    };
    return SendPlan(plan, checks, command.maxWrongPasswords, ledger, hooks);
}

// The scan after sending, of the devices sent to; false when there were none.
bool ReadBackSent(const Plan& plan, const std::vector<LineCheck>& checks,
                  const std::vector<LineSent>& sent, Scan& after) {
    std::vector<base::Mac> devices;
    bool moved = false;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        if (!sent[i].sent)
            continue;
        devices.push_back(plan.lines[i].mac);
        moved = moved || checks[i].Moves();
    }
    return !devices.empty() && ReadBackScan(devices, moved, after) == kSuccess;
}

// What each line came to: its check, and for a line sent what the device
// shows now beside what the library said.
std::vector<LineReport> ReportsOf(const Command& command, const Plan& plan,
                                  const std::vector<LineCheck>& checks,
                                  const std::vector<LineSent>& sent, const Scan& after,
                                  const ResultLedger& ledger, const std::string& shared) {
    std::vector<LineReport> reports;
    reports.reserve(checks.size());
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const PlanLine& line = plan.lines[i];
        const LineCheck& check = checks[i];
        LineReport report{line.line, line.error.empty() ? base::MacText(line.mac) : line.macText,
                          check.outcome, std::nullopt, check.reason};
        if (check.outcome == Outcome::kNotFound) {
            report.reason = NotFoundReason(command.waitSeconds);
        } else if (check.outcome == Outcome::kWouldApply && command.dryRun) {
            report.reason = JoinChanges(
                DescribeChanges(configure::SettingsFromResponse(*check.answer), check.settings));
        } else if (check.outcome == Outcome::kWouldApply && !sent[i].sent) {
            report.outcome = Outcome::kNotSent;
            report.reason = sent[i].heldBack;
        } else if (check.outcome == Outcome::kWouldApply) {
            report.reply = ledger.ReplyOf(line.mac).value_or(Reply::kNoAnswer);
            const ReadBackResult result =
                ReadBack(*check.answer, check.settings,
                         zova::FindResponseByMac(after.Answers(), line.mac), report.reply);
            report.outcome = result.outcome;
            report.reason = result.reason;
            if (report.reply == Reply::kWrongPassword && report.reason.empty())
                report.reason = WrongPasswordHint(
                    PasswordOf(line, shared),
                    line.password ? PasswordFrom::kPlanCell : PasswordFrom::kInput);
        }
        reports.push_back(std::move(report));
    }
    return reports;
}

// Prints the records and the summary; the exit status.
int PrintReports(const Command& command, const std::vector<LineReport>& reports,
                 const Scan& after) {
    std::vector<Outcome> outcomes;
    outcomes.reserve(reports.size());
    Out(ReportStart(command.format));
    for (std::size_t i = 0; i < reports.size(); ++i) {
        outcomes.push_back(reports[i].outcome);
        Out(ReportLine(command.format, reports[i], i == 0, SystemCodePage()));
    }
    Out(ReportEnd(command.format, reports.empty()));
    // A script reading CSV or JSON gets nothing else on standard output.
    const auto say = command.format == Format::kTable ? &Out : &Err;
    const std::vector<std::string> heldTwice = SharedAddresses(after.Answers());
    for (const std::string& each : heldTwice)
        say("two devices on one address: " + each + '\n');
    say(SummaryText(outcomes) + '\n');
    if (Interrupted()) {
        Err("vantrel-cli: interrupted: the line in flight was finished, the rest not sent\n");
        return kInterrupted;
    }
    const bool allDone = std::all_of(outcomes.begin(), outcomes.end(), &IsDone);
    return allDone && heldTwice.empty() ? kSuccess : kPlanFailures;
}

}  // namespace

int RunApply(const Command& command) {
    CatchInterrupts();
    Plan plan;
    if (int status = ReadPlanFile(command.planPath, plan))
        return status;
    if (int status = StartSession())
        return status;
    Scan scan(WaitOf(command.waitSeconds));
    std::vector<LineCheck> checks;
    if (int status = ScanAndCheck(plan, scan, checks))
        return status;
    SayWarnings(plan, checks);

    std::string shared;
    if (!command.dryRun)
        if (int status = ReadSharedPassword(plan, checks, shared))
            return status;
    ResultLedger ledger;
    std::vector<LineSent> sent(checks.size());
    Scan after(WaitOf(command.waitSeconds));
    if (!command.dryRun) {
        sent = SendLines(command, plan, checks, shared, ledger);
        if (ReadBackSent(plan, checks, sent, after))
            TakeResults(ledger);
    }
    if (PasswordLimitReached(sent, command.maxWrongPasswords))
        Err("vantrel-cli: " + PasswordLimitText(command.maxWrongPasswords) + '\n');
    return PrintReports(command, ReportsOf(command, plan, checks, sent, after, ledger, shared),
                        after);
}

}  // namespace cli
