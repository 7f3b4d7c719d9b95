#include "cli/Arguments.h"

#include "cli/Address.h"

#include <cstdlib>

namespace cli {

namespace {

const char kProgramHelp[] =
    "Usage: vantrel-cli SUBCOMMAND [OPTIONS]\n"
    "\n"
    "  scan       list the devices that answer a scan\n"
    "  configure  change one device's settings\n"
    "  apply      configure many devices from a CSV plan\n"
    "  wink       ask a device to signal\n"
    "  recover    run the recovery DHCP server\n"
    "\n"
    "vantrel-cli SUBCOMMAND --help tells more.\n";

const char kScanHelp[] =
    "Usage: vantrel-cli scan [--wait SECONDS] [--format table|csv|json]\n"
    "\n"
    "Sends one scan, waits (default 2 s) and prints one line per device: its\n"
    "first answer. Values the device does not report read N/A (null in JSON).\n";

const char kConfigureHelp[] =
    "Usage: vantrel-cli configure MAC [--ip A] [--mask A] [--gateway A]\n"
    "           [--dns1 A] [--dns2 A] [--hostname NAME] [--dhcp on|off]\n"
    "           [--change-password] [--wait SECONDS]\n"
    "\n"
    "Scans for the device, starts from what it reports, applies the changes and\n"
    "sends them. The password (and with --change-password the new one, on the\n"
    "next line) is read from standard input, or prompted for without echo.\n"
    "Exit status: 0 accepted, 3 invalid input, 4 not found, 5 wrong password,\n"
    "6 no answer, 7 library refused, 8 incorrect library version.\n";

const char kApplyHelp[] =
    "Usage: vantrel-cli apply PLAN.csv [--dry-run] [--wait SECONDS]\n"
    "\n"
    "PLAN.csv: a header line naming the columns (mac, and any of ip, mask,\n"
    "gateway, dns1, dns2, hostname, dhcp, password), then one device per line;\n"
    "an empty cell keeps the device's value. Without a password column one\n"
    "password is read from standard input for every device that asks for one.\n"
    "--dry-run checks the whole plan and prints what would change; it sends no\n"
    "configure request. Exit status: 0 every line applied, 1 some failed,\n"
    "3 the plan cannot be read.\n";

const char kWinkHelp[] =
    "Usage: vantrel-cli wink MAC [--wait SECONDS]\n"
    "\n"
    "Asks the device to signal; it must speak protocol 1.10 or later.\n";

const char kRecoverHelp[] =
    "Usage: vantrel-cli recover [--for MINUTES]\n"
    "\n"
    "Runs the recovery DHCP server on port 67 in the foreground and prints one\n"
    "line per OFFER, ACK and NAK, until Ctrl-C or the minutes run out.\n";

bool ReadNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(number >= low && number <= high))
        return false;
    value = number;
    return true;
}

}  // namespace

const char* HelpText(Subcommand subcommand) {
    switch (subcommand) {
    case Subcommand::kScan:
        return kScanHelp;
    case Subcommand::kConfigure:
        return kConfigureHelp;
    case Subcommand::kApply:
        return kApplyHelp;
    case Subcommand::kWink:
        return kWinkHelp;
    case Subcommand::kRecover:
        return kRecoverHelp;
    default:
        return kProgramHelp;
    }
}

ExitStatus ParseArguments(const std::vector<std::string>& args, Command& command,
                          std::string& error) {
    if (args.empty()) {
        error = "no subcommand";
        return kUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "help") {
        command.help = true;
        return kSuccess;
    }
    if (name == "scan")
        command.subcommand = Subcommand::kScan;
    else if (name == "configure")
        command.subcommand = Subcommand::kConfigure;
    else if (name == "apply")
        command.subcommand = Subcommand::kApply;
    else if (name == "wink")
        command.subcommand = Subcommand::kWink;
    else if (name == "recover")
        command.subcommand = Subcommand::kRecover;
    else {
        error = "unknown subcommand: " + name;
        return kUsage;
    }

    const Subcommand sub = command.subcommand;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        if (option == "--help") {
            command.help = true;
            return kSuccess;
        }
        if (option.rfind("--", 0) != 0) {
            positional.push_back(option);
            continue;
        }
        // --name=value or --name value
        std::string value;
        bool hasValue = false;
        const std::size_t equals = option.find('=');
        if (equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        const bool flag = option == "--change-password" || option == "--dry-run";
        if (!flag && !hasValue) {
            if (i + 1 >= args.size()) {
                error = option + " needs a value";
                return kUsage;
            }
            value = args[++i];
        }
        const std::string key = option.substr(2);
        const bool setting = key == "ip" || key == "mask" || key == "gateway" || key == "dns1" ||
                             key == "dns2" || key == "hostname" || key == "dhcp";
        if (option == "--wait" && sub != Subcommand::kRecover) {
            if (!ReadNumber(value, 0, 3600, command.waitSeconds)) {
                error = "--wait: seconds from 0 to 3600, not " + value;
                return kUsage;
            }
        } else if (option == "--format" && sub == Subcommand::kScan) {
            if (value == "table")
                command.format = Format::kTable;
            else if (value == "csv")
                command.format = Format::kCsv;
            else if (value == "json")
                command.format = Format::kJson;
            else {
                error = "--format: table, csv or json, not " + value;
                return kUsage;
            }
        } else if (setting && sub == Subcommand::kConfigure) {
            if (value.empty()) {
                error = option + " needs a value";
                return kUsage;
            }
            if (!SetChange(command.changes, key, value, error))
                return kInvalidInput;
        } else if (option == "--change-password" && sub == Subcommand::kConfigure) {
            command.changes.changePassword = true;
        } else if (option == "--dry-run" && sub == Subcommand::kApply) {
            command.dryRun = true;
        } else if (option == "--for" && sub == Subcommand::kRecover) {
            if (!ReadNumber(value, 0.001, 10080, command.forMinutes)) {
                error = "--for: minutes above 0, at most 10080, not " + value;
                return kUsage;
            }
        } else {
            error = "unknown option for " + name + ": " + option;
            return kUsage;
        }
    }

    const bool takesMac = sub == Subcommand::kConfigure || sub == Subcommand::kWink;
    const std::size_t wanted = takesMac || sub == Subcommand::kApply ? 1 : 0;
    if (positional.size() != wanted) {
        error = wanted == 0 ? name + " takes no operand"
                : takesMac  ? name + " needs one MAC address"
                            : name + " needs one plan file";
        return kUsage;
    }
    if (takesMac && !ParseMac(positional[0], command.mac)) {
        error = "not a MAC address: " + positional[0];
        return kUsage;
    }
    if (sub == Subcommand::kApply)
        command.planPath = positional[0];
    return kSuccess;
}

}  // namespace cli
