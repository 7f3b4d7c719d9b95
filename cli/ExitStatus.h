// The program's exit statuses, what one configure request came to (one per
// outcome a script may want to tell apart; docs/cli.md lists them), and how
// apply reports each line.
#ifndef VANTREL_CLI_EXITSTATUS_H
#define VANTREL_CLI_EXITSTATUS_H

#include "cli/DeviceTable.h"

#include <string>
#include <vector>

namespace cli {

enum ExitStatus : int {
    kSuccess = 0,          // done; a configure request was accepted
    kPlanFailures = 1,     // apply: one or more lines were not applied
    kUsage = 2,            // the command line cannot be read
    kInvalidInput = 3,     // a value breaks the rules, a plan cannot be read, no password given
    kNotFound = 4,         // the device did not answer the scan; scan: no device did
    kWrongPassword = 5,    // the device rejected the password
    kNoAnswer = 6,         // no configure result within the time-out
    kLibraryRefused = 7,   // zova.dll would not start or send; a ZOVA_TARGET it cannot read
    kWrongLibrary = 8,     // zova.dll is not 1.1.x
    kWinkUnsupported = 9,  // the device's protocol is older than 1.10
    kDhcpInitFailed = 10,  // the recovery server could not open port 67
    kAnswersLost = 11,     // scan: answers were lost, so devices may be missing
};

// What became of one device's configure request, in apply's words.
// kWouldApply: a dry run's line that passed every check; kNoChange: a line
// that asks for the values the device has, so nothing is sent.
enum class Outcome {
    kAccepted,
    kWrongPassword,
    kNotFound,
    kNoAnswer,
    kInvalid,
    kWouldApply,
    kNoChange
};

const char* OutcomeText(Outcome outcome);  // "accepted", "wrong password", ...

// configure's exit status for the outcome.
ExitStatus StatusOf(Outcome outcome);

// "N lines: N accepted, N not found, ...": the outcomes that occurred, in the
// order of the enumeration.
std::string SummaryText(const std::vector<Outcome>& outcomes);

// One plan line's result as apply prints it.
struct LineReport {
    int line = 0;
    std::string mac;  // as the scan writes it, or as the plan has it when it is no MAC
    Outcome outcome = Outcome::kInvalid;
    std::string reason;  // why, or for kWouldApply what would change; may be empty
};

// apply's output in a format: what comes before the first line, each line
// ("line 2: MAC: accepted" as text, a CSV record, a JSON object), and what
// ends the output. kTable stands for the text lines.
std::string ReportStart(Format format);
std::string ReportLine(Format format, const LineReport& report, bool first);
std::string ReportEnd(Format format, bool empty);

}  // namespace cli

#endif  // VANTREL_CLI_EXITSTATUS_H
