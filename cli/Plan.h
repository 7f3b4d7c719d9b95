// A commissioning plan: a CSV file with a header line and one device per
// line, read into the changes for each device.
#ifndef VANTREL_CLI_PLAN_H
#define VANTREL_CLI_PLAN_H

#include "cli/Changes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct PlanLine {
    int line = 0;         // in the file, from 1
    std::string macText;  // as written
    std::uint8_t mac[6] = {};
    Changes changes;
    std::string password;  // from the password column, when there is one
    std::string error;     // not empty: the line cannot be applied, and why
};

struct Plan {
    bool hasPasswordColumn = false;
    std::vector<PlanLine> lines;
};

// Reads the plan. The header names the columns in any order: mac (required)
// and any of ip, mask, gateway, dns1, dns2, hostname, dhcp, password; names
// are matched without regard to case. A line with a bad value, the wrong
// number of cells or a MAC seen on an earlier line gets its error and the
// rest still count. False, with error, when the plan as a whole cannot be
// read (CSV syntax, no header, an unknown or repeated column, no mac column).
bool ParsePlan(const std::string& text, Plan& plan, std::string& error);

}  // namespace cli

#endif  // VANTREL_CLI_PLAN_H
