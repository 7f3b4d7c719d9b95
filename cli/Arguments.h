// The command line: which subcommand, and its options. One table per
// subcommand gives its options, how each is read and its help text, which
// docs/cli.md holds word for word (a test compares them).
#ifndef VANTREL_CLI_ARGUMENTS_H
#define VANTREL_CLI_ARGUMENTS_H

#include "base/Address.h"
#include "cli/Changes.h"
#include "cli/DeviceTable.h"
#include "cli/ExitStatus.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

enum class Subcommand { kNone, kScan, kConfigure, kApply, kWink, kRecover };

struct Command {
    Subcommand subcommand = Subcommand::kNone;
    bool help = false;
    bool version = false;
    double waitSeconds = 2.0;        // how long a scan waits for answers
    Format format = Format::kTable;  // apply: kTable is its text lines
    base::Mac mac{};
    Changes changes;
    std::string planPath;
    bool dryRun = false;
    int maxWrongPasswords = 3;  // apply: rejected passwords before it stops trying
    double forMinutes = 0;      // 0: until Ctrl-C
};

// The arguments after the program's name: kSuccess, or with error kUsage for
// what cannot be read and kInvalidInput for a setting's value that cannot be
// (an address, dhcp). "--help" or "-h" anywhere asks for the subcommand's
// help, "--version" first for the versions.
ExitStatus ParseArguments(const std::vector<std::string>& args, Command& command,
                          std::string& error);

// The help text of a subcommand (kNone: the program's).
std::string HelpText(Subcommand subcommand);

// Every subcommand, kNone (the program) first.
std::vector<Subcommand> AllSubcommands();

}  // namespace cli

#endif  // VANTREL_CLI_ARGUMENTS_H
