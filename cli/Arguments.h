// The command line: which subcommand, and its options.
#ifndef VANTREL_CLI_ARGUMENTS_H
#define VANTREL_CLI_ARGUMENTS_H

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
    double waitSeconds = 2.0;  // how long a scan waits for answers
    Format format = Format::kTable;
    std::uint8_t mac[6] = {};
    Changes changes;
    std::string planPath;
    bool dryRun = false;
    double forMinutes = 0;  // 0: until Ctrl-C
};

// The arguments after the program's name: kSuccess, or with error kUsage for
// what cannot be read and kInvalidInput for a setting's value that cannot be
// (an address, dhcp). "--help" anywhere asks for the subcommand's help.
ExitStatus ParseArguments(const std::vector<std::string>& args, Command& command,
                          std::string& error);

// The help text of a subcommand (kNone: the program's).
const char* HelpText(Subcommand subcommand);

}  // namespace cli

#endif  // VANTREL_CLI_ARGUMENTS_H
