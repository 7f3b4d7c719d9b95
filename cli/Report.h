// How apply reports its plan: a line per plan line as text, CSV or JSON
// records, and the summary.
#ifndef VANTREL_CLI_REPORT_H
#define VANTREL_CLI_REPORT_H

#include "cli/DeviceTable.h"
#include "cli/Encoding.h"
#include "cli/ExitStatus.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

// One plan line's result. Texts are in the system code page.
struct LineReport {
    int line = 0;
    std::string mac;  // as the scan writes it, or as the plan has it when it is no MAC
    Outcome outcome = Outcome::kInvalid;
    std::optional<Reply> reply;  // what the library said, for a line that was sent
    std::string reason;          // why, or for kWouldApply what would change; may be empty
};

// "changed (library: accepted): reason" as a line of text shows it, control
// characters escaped.
std::string ResultText(Outcome outcome, std::optional<Reply> reply, const std::string& reason);

// "N lines: N changed, N not found, ...": the outcomes that occurred, in the
// order of the enumeration.
std::string SummaryText(const std::vector<Outcome>& outcomes);

// apply's output in a format: what comes before the first line, each line
// ("line 2: MAC: changed (library: accepted)" as text, a CSV record, a JSON
// object), and what ends the output. kTable stands for the text lines, which
// keep the code page and show control characters escaped; CSV and JSON are
// UTF-8, the CSV after a byte order mark.
std::string ReportStart(Format format);
std::string ReportLine(Format format, const LineReport& report, bool first,
                       const CodePage& codePage);
std::string ReportEnd(Format format, bool empty);

}  // namespace cli

#endif  // VANTREL_CLI_REPORT_H
