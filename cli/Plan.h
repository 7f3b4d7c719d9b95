// A commissioning plan: a CSV file with a header line and one device per
// line, read into the changes for each device, as a person writes it or a
// spreadsheet saves it, and scan --format csv's output too.
#ifndef VANTREL_CLI_PLAN_H
#define VANTREL_CLI_PLAN_H

#include "base/Address.h"
#include "cli/Changes.h"
#include "cli/Encoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Texts are in the system code page.
struct PlanLine {
    int line = 0;         // in the file, from 1
    std::string macText;  // as written
    base::Mac mac{};
    Changes changes;
    std::optional<std::string> password;  // from a password cell that is not empty
    std::string error;                    // not empty: the line cannot be applied, and why
};

struct Plan {
    std::vector<PlanLine> lines;
    Source source = Source::kPlan;  // configure's options make a plan of one line
};

// Reads the plan, in time linear in its length. The text is UTF-8 when it
// is well-formed UTF-8, with or without a byte order mark, and in the system
// code page otherwise; cells are converted to the code page. The separator
// is the one a first line "sep=X" names, else the first ',', ';' or tab of
// the header line; lines that are empty, hold only empty cells or start with
// '#' are skipped; blanks and no-break spaces around every cell but a
// password are cut. The header names the columns in any order, without
// regard to case: mac (required), password and the columns scan writes
// (zova::kColumns); empty names at its end are ignored, and so are their cells
// when empty. In a cell, N/A (any case) keeps the device's value. A line with
// a bad value, the wrong number of cells or a MAC seen on an earlier line
// gets its error, naming the column and the value, and the rest still count.
// False, with error, when the plan as a whole cannot be read (not text, CSV
// syntax, no header, an unknown or repeated column, no mac column).
bool ParsePlan(const std::string& text, const CodePage& codePage, Plan& plan, std::string& error);

}  // namespace cli

#endif  // VANTREL_CLI_PLAN_H
