// The program's exit statuses, and what one configure request came to: one per outcome a script may
// want to tell apart (docs/cli.md lists them).
#ifndef VANTREL_CLI_EXITSTATUS_H
#define VANTREL_CLI_EXITSTATUS_H

#include <string>
#include <vector>

namespace cli {

enum ExitStatus : int {
    kSuccess = 0,          // done; a configure request was accepted
    kPlanFailures = 1,     // apply: one or more lines were not applied
    kUsage = 2,            // the command line cannot be read
    kInvalidInput = 3,     // a value breaks the configure rules, or a plan cannot be read
    kNotFound = 4,         // the device did not answer the scan
    kWrongPassword = 5,    // the device rejected the password
    kNoAnswer = 6,         // no configure result within the time-out
    kLibraryRefused = 7,   // zova.dll would not start or send
    kWrongLibrary = 8,     // zova.dll is not 1.1.x
    kWinkUnsupported = 9,  // the device's protocol is older than 1.10
    kDhcpInitFailed = 10,  // the recovery server could not open port 67
};

// What became of one device's configure request, in apply's words.
// kWouldApply: a dry run's line that passed every check.
enum class Outcome { kAccepted, kWrongPassword, kNotFound, kNoAnswer, kInvalid, kWouldApply };

const char* OutcomeText(Outcome outcome);  // "accepted", "wrong password", ...

// configure's exit status for the outcome.
ExitStatus StatusOf(Outcome outcome);

// "N lines: N accepted, N not found, ...": the outcomes that occurred, in the
// order of the enumeration.
std::string SummaryText(const std::vector<Outcome>& outcomes);

}  // namespace cli

#endif  // VANTREL_CLI_EXITSTATUS_H
