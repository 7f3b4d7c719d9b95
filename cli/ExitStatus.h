// The program's exit statuses, each with its words in the help, and what a
// plan line or a configure request came to (one outcome per case a script
// may want to tell apart; docs/cli.md lists them).
#ifndef VANTREL_CLI_EXITSTATUS_H
#define VANTREL_CLI_EXITSTATUS_H

#include <string>
#include <vector>

namespace cli {

enum ExitStatus : int {
    kSuccess = 0,          // done; a configure request changed what it asked
    kPlanFailures = 1,     // apply: a line was not done; two devices on one address after
    kUsage = 2,            // the command line cannot be read
    kInvalidInput = 3,     // a value breaks the rules, a plan cannot be read, no password given
    kNotFound = 4,         // the device did not answer the scan; scan: no device did
    kWrongPassword = 5,    // the device rejected the password
    kNoAnswer = 6,         // no configure result within the time-out
    kLibraryRefused = 7,   // zova.dll would not start or send; a ZOVA_TARGET it cannot read
    kWrongLibrary = 8,     // zova.dll is not 1.1.x
    kWinkUnsupported = 9,  // the device's protocol is older than 1.10
    kDhcpInitFailed = 10,  // the recovery server could not open port 67
    kAnswersLost = 11,     // scan: answers lost or still coming, devices may be missing
    kNotAsSent = 12,       // configure: the device does not show what was sent
    kInterrupted = 130,    // apply: stopped by Ctrl+C, as shells count a SIGINT
};

// "Exit status: 0 done, 4 nothing found, ...", wrapped as the help texts are,
// each status in the words of the one table of them.
std::string ExitStatusHelp(const std::vector<ExitStatus>& statuses);

// What the library said of a configure request. Its acceptance names no
// device: kSomeDevice is an acceptance that may be this request's or that
// of an earlier one still unanswered.
enum class Reply { kAccepted, kWrongPassword, kNoAnswer, kSomeDevice };

const char* ReplyText(Reply reply);  // "accepted", "wrong password", ...

// What one plan line came to. The first four are read back from the scan
// after sending; kWouldApply is a dry run's line that passed every check;
// kNoChange a line that asks for the values the device has.
enum class Outcome {
    kChanged,
    kNotChanged,
    kChangedOtherwise,
    kMayHaveChanged,
    kNotSent,
    kNotFound,
    kInvalid,
    kWouldApply,
    kNoChange,
};

const char* OutcomeText(Outcome outcome);  // "changed", "not changed", ...

// Whether a line with this outcome is done as planned.
bool IsDone(Outcome outcome);

// configure's status for its request: the read-back decides, and where the
// device does not show the change, what the library said.
ExitStatus ConfigureStatus(Outcome outcome, Reply reply);

}  // namespace cli

#endif  // VANTREL_CLI_EXITSTATUS_H
