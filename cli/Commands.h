// The subcommands over the library, the console and the product's code. Each
// returns the program's exit status.
#ifndef VANTREL_CLI_COMMANDS_H
#define VANTREL_CLI_COMMANDS_H

#include "cli/Arguments.h"

namespace cli {

int RunScan(const Command& command);
int RunConfigure(const Command& command);
int RunApply(const Command& command);
int RunWink(const Command& command);
int RunRecover(const Command& command);

}  // namespace cli

#endif  // VANTREL_CLI_COMMANDS_H
