#include "cli/Commands.h"

#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Console.h"
#include "cli/ReadBack.h"
#include "cli/Report.h"
#include "cli/Session.h"
#include "configure/ConfigureRequest.h"
#include "zova/ResponseRow.h"

#include <cstdlib>
#include <thread>

namespace cli {

namespace {

// The library's receiver thread sends a due copy within its 20 ms receive
// slice; this leaves it time to, on a busy machine too.
constexpr std::chrono::milliseconds kLastCopyLeaves(zova::kLastCopyDelayMs + 100);

// configure's options: a plan of one line.
Plan PlanOf(const Command& command) {
    Plan plan;
    plan.source = Source::kCommandLine;
    PlanLine line;
    line.mac = command.mac;
    line.macText = base::MacText(command.mac);
    line.changes = command.changes;
    plan.lines.push_back(line);
    return plan;
}

int SayNotFound(const std::string& mac, double waitSeconds) {
    Err("vantrel-cli: device " + mac + " not found: " + NotFoundReason(waitSeconds) + '\n');
    return kNotFound;
}

// What a line that will not be sent comes to: said, with its status.
int SayUnsent(const std::string& mac, const LineCheck& check, double waitSeconds) {
    if (check.outcome == Outcome::kNotFound)
        return SayNotFound(mac, waitSeconds);
    if (check.outcome == Outcome::kInvalid) {
        Err("vantrel-cli: " + check.reason + '\n');
        return kInvalidInput;
    }
    Out(mac + ": no change\n");
    return kSuccess;
}

// Reads what configure needs from standard input: the password when the
// device asks for one (or does not say: then the end of the input is none),
// the new one when it is to change (at a console twice). False, said on
// stderr, when a line is missing or the two new ones differ: nothing may be
// sent then.
bool ReadPasswords(const std::string& mac, PasswordNeed need, bool changePassword,
                   std::string& password, std::string& newPassword) {
    if (need == PasswordNeed::kRequired && !ReadSecret("Password for " + mac + ": ", password)) {
        Err("vantrel-cli: no password given for " + mac + "; nothing was sent\n");
        return false;
    }
    if (need == PasswordNeed::kUnknown)
        ReadSecret(
            "Password for " + mac + " (it does not say whether it has one; Enter for none): ",
            password);
    if (!changePassword)
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

// What the device shows after the request beside what the library said,
// and two devices on one address; configure's status.
int SayReadBack(const base::Mac& mac, const LineCheck& check, const Scan& after, Reply reply,
                const std::string& password) {
    ReadBackResult result = ReadBack(*check.answer, check.settings,
                                     zova::FindResponseByMac(after.Answers(), mac), reply);
    if (reply == Reply::kWrongPassword && result.reason.empty())
        result.reason = WrongPasswordHint(password, PasswordFrom::kInput);
    const std::string said =
        base::MacText(mac) + ": " + ResultText(result.outcome, reply, result.reason) + '\n';
    int status = ConfigureStatus(result.outcome, reply);
    if (status == kSuccess)
        Out(said);
    else
        Err("vantrel-cli: " + said);
    for (const std::string& each : SharedAddresses(after.Answers())) {
        Err("vantrel-cli: two devices on one address: " + each + '\n');
        status = status == kSuccess ? kPlanFailures : status;
    }
    return status;
}

}  // namespace

int RunScan(const Command& command) {
    if (int status = StartSession())
        return status;
    Scan scan(WaitOf(command.waitSeconds));
    if (int status = ScanFor({}, scan))
        return status;
    std::vector<ZOVA_ModuleScanResponseType> answers = scan.Answers();
    SortByMac(answers);
    Out(FormatDevices(answers, command.format, SystemCodePage()));
    for (const base::Mac& twin : scan.Twins())
        Err("vantrel-cli: warning: two devices answer with " + base::MacText(twin) +
            "; configure and apply refuse it\n");
    if (answers.empty()) {
        Err("vantrel-cli: no device answered\n");
        return kNotFound;
    }
    if (scan.AnswersLost()) {
        Err("vantrel-cli: answers were lost on the way, so devices may be missing; scan again\n");
        return kAnswersLost;
    }
    if (scan.StillAnswering()) {
        Err("vantrel-cli: devices were still answering when the wait ended, so some may be "
            "missing; scan again with a longer --wait\n");
        return kAnswersLost;
    }
    return kSuccess;
}

int RunConfigure(const Command& command) {
    if (int status = StartSession())
        return status;
    Scan scan(WaitOf(command.waitSeconds));
    std::vector<LineCheck> checks;
    if (int status = ScanAndCheck(PlanOf(command), scan, checks))
        return status;
    LineCheck& check = checks[0];
    const std::string mac = base::MacText(command.mac);
    if (check.outcome != Outcome::kWouldApply)
        return SayUnsent(mac, check, command.waitSeconds);
    if (!check.warning.empty())
        Err("vantrel-cli: warning: " + check.warning + '\n');

    std::string password, newPassword, error;
    if (!ReadPasswords(mac, PasswordNeedOf(*check.answer), command.changes.changePassword, password,
                       newPassword))
        return kInvalidInput;
    if (!SetPasswords(check.settings, password, newPassword, error)) {
        Err("vantrel-cli: " + error + '\n');
        return kInvalidInput;
    }
    ZOVA_ConfigureRequestType request =
        configure::BuildConfigureRequest(*check.answer, check.settings, [] { return std::rand(); });
    ResultLedger ledger;
    SendConfigure(request, kResultTimeout, ledger);

    Scan after(WaitOf(command.waitSeconds));
    if (int status = ReadBackScan({command.mac}, check.Moves(), after))
        return status;
    TakeResults(ledger);
    return SayReadBack(command.mac, check, after,
                       ledger.ReplyOf(command.mac).value_or(Reply::kNoAnswer), password);
}

int RunWink(const Command& command) {
    if (int status = StartSession())
        return status;
    Scan scan(WaitOf(command.waitSeconds));
    if (int status = ScanFor({command.mac}, scan))
        return status;
    const ZOVA_ModuleScanResponseType* answer =
        zova::FindResponseByMac(scan.Answers(), command.mac);
    if (!answer)
        return SayNotFound(base::MacText(command.mac), command.waitSeconds);
    if (!configure::SupportsWink(*answer)) {
        Err(std::string(configure::kWinkUnsupported) + '\n');
        return kWinkUnsupported;
    }
    ZOVA_ConfigureRequestType request = configure::BuildWinkRequest(*answer);
    ZOVA_SendWink(&request);
    // Winks are not acknowledged; the library's copies leave only while the
    // program runs.
    std::this_thread::sleep_for(kLastCopyLeaves);
    Out(base::MacText(command.mac) + ": wink sent\n");
    return kSuccess;
}

}  // namespace cli
