// vantrel-cli: the tool's library and rules for scripts.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "version/StartupVersion.h"

#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    cli::UseBinaryOutput();
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Command command;
    std::string error;
    if (const int status = cli::ParseArguments(args, command, error)) {
        cli::Err("vantrel-cli: " + error + "\n");
        if (status == cli::kUsage)
            cli::Err("vantrel-cli --help tells how to use it.\n");
        return status;
    }
    if (command.help) {
        cli::Out(cli::HelpText(command.subcommand));
        return cli::kSuccess;
    }
    if (command.version) {
        char library[256] = {};
        const bool read =
            CDllVersionCheck().ReadFileVersionString(version::ZovaLibraryPath(), library);
        cli::Out(std::string("vantrel-cli " VANTREL_VERSION "\nzova.dll ") +
                 (read ? library : "(version not readable)") + "\n");
        return cli::kSuccess;
    }
    // As in the window: the library is checked by its file before the first
    // call into it.
    if (!version::IsZovaLibraryVersionAccepted(version::ZovaLibraryPath())) {
        cli::Err("Incorrect DLL version\n");
        return cli::kWrongLibrary;
    }
    // The salted new password draws from this generator, as in the window.
    std::srand(::GetTickCount());
    switch (command.subcommand) {
    case cli::Subcommand::kRecover:
        return cli::RunRecover(command);
    case cli::Subcommand::kScan:
        return cli::RunScan(command);
    case cli::Subcommand::kConfigure:
        return cli::RunConfigure(command);
    case cli::Subcommand::kApply:
        return cli::RunApply(command);
    default:
        return cli::RunWink(command);
    }
}
