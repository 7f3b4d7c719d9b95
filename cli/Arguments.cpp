#include "cli/Arguments.h"

#include "cli/Address.h"
#include "zova/zova.h"

#include <algorithm>
#include <cstdlib>

namespace cli {

namespace {

// Reads an option's value into the command: kSuccess, or a status with error.
using Reader = ExitStatus (*)(const char* option, const std::string& value, Command& command,
                              std::string& error);

struct OptionSpec {
    const char* name;   // "--wait"
    const char* value;  // "SECONDS" in the help; null for a flag
    const char* help;
    Reader read;
};

struct SubcommandSpec {
    Subcommand subcommand;
    const char* name;
    const char* operand;  // "MAC", "PLAN.csv"; null: none
    const char* summary;  // its line in the program's help
    std::vector<OptionSpec> options;
    std::string text;  // what it does, wrapped
    std::vector<ExitStatus> statuses;
};

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

ExitStatus ReadWait(const char*, const std::string& value, Command& command, std::string& error) {
    if (ReadNumber(value, 0, 3600, command.waitSeconds))
        return kSuccess;
    error = "--wait: seconds from 0 to 3600, not " + value;
    return kUsage;
}

ExitStatus ReadMaxWrongPasswords(const char*, const std::string& value, Command& command,
                                 std::string& error) {
    double number = 0;
    if (ReadNumber(value, 1, 1000000, number) && number == static_cast<int>(number)) {
        command.maxWrongPasswords = static_cast<int>(number);
        return kSuccess;
    }
    error = "--max-wrong-passwords: a whole number from 1 to 1000000, not " + value;
    return kUsage;
}

ExitStatus ReadFor(const char*, const std::string& value, Command& command, std::string& error) {
    if (ReadNumber(value, 0.001, 10080, command.forMinutes))
        return kSuccess;
    error = "--for: minutes above 0, at most 10080, not " + value;
    return kUsage;
}

ExitStatus ReadFormat(Format& format, const char* tableName, const std::string& value,
                      std::string& error) {
    if (value == tableName)
        format = Format::kTable;
    else if (value == "csv")
        format = Format::kCsv;
    else if (value == "json")
        format = Format::kJson;
    else {
        error = std::string("--format: ") + tableName + ", csv or json, not " + value;
        return kUsage;
    }
    return kSuccess;
}

ExitStatus ReadScanFormat(const char*, const std::string& value, Command& command,
                          std::string& error) {
    return ReadFormat(command.format, "table", value, error);
}

ExitStatus ReadApplyFormat(const char*, const std::string& value, Command& command,
                           std::string& error) {
    return ReadFormat(command.format, "text", value, error);
}

ExitStatus ReadSetting(const char* option, const std::string& value, Command& command,
                       std::string& error) {
    if (value.empty()) {
        error = std::string(option) + " needs a value";
        return kUsage;
    }
    return SetChange(command.changes, option + 2, value, error) ? kSuccess : kInvalidInput;
}

ExitStatus ReadChangePassword(const char*, const std::string&, Command& command, std::string&) {
    command.changes.changePassword = true;
    return kSuccess;
}

ExitStatus ReadDryRun(const char*, const std::string&, Command& command, std::string&) {
    command.dryRun = true;
    return kSuccess;
}

OptionSpec WaitFor(const char* what) {
    return {"--wait", "SECONDS", what, &ReadWait};
}

const std::vector<SubcommandSpec>& Specs() {
    static const std::vector<SubcommandSpec> specs = [] {
        const std::string copies = std::to_string(zova::kRequestCopies) + " copies";
        const std::string lastCopy = std::to_string(zova::kLastCopyDelayMs) + " ms";
        return std::vector<SubcommandSpec>{
            {Subcommand::kScan,
             "scan",
             nullptr,
             "list the devices that answer a scan",
             {WaitFor("how long to wait for answers (default 2, 0 to 3600)"),
              {"--format", "FORMAT", "table (default), csv or json", &ReadScanFormat}},
             "Sends one scan (the library sends " + copies + ", the last " + lastCopy +
                 " after\n"
                 "the first), waits and prints one line per device that answered, with its\n"
                 "first answer, in the order of the MACs. Values the device does not report\n"
                 "read N/A (null in JSON). Two devices that answer with one MAC get a\n"
                 "warning. CSV and JSON are UTF-8; the CSV is a plan that apply takes as it\n"
                 "is.\n",
             {kSuccess, kNotFound, kLibraryRefused, kWrongLibrary, kAnswersLost}},
            {Subcommand::kConfigure,
             "configure",
             "MAC",
             "change one device's settings",
             {{"--ip", "A", "IP address (dotted)", &ReadSetting},
              {"--mask", "A", "subnet mask", &ReadSetting},
              {"--gateway", "A", "default gateway", &ReadSetting},
              {"--dns1", "A", "primary DNS server", &ReadSetting},
              {"--dns2", "A", "secondary DNS server", &ReadSetting},
              {"--hostname", "NAME", "host name: letters and digits, at most 29", &ReadSetting},
              {"--dhcp", "on|off", "DHCP on or off", &ReadSetting},
              {"--change-password", nullptr, "set a new password too", &ReadChangePassword},
              WaitFor("longest wait for the device's answer (default 2)")},
             "Scans for the device, starts from what it reports, applies the changes,\n"
             "checks them with the configure dialog's rules and sends them; changes that\n"
             "ask for what the device has send nothing. A new IP waits the whole --wait,\n"
             "so that every device that has an address is heard: none may have it. It\n"
             "then scans again and says what the device shows: changed, not changed,\n"
             "changed otherwise or may have changed, and what the library said. The\n"
             "password, when the device asks for one or does not say, is one line of\n"
             "standard input; with --change-password the new password is the next line.\n"
             "At a console both are prompted for without echo, the new one twice. A\n"
             "password is exact: only its line end is dropped.\n",
             {kSuccess, kPlanFailures, kInvalidInput, kNotFound, kWrongPassword, kNoAnswer,
              kLibraryRefused, kWrongLibrary, kNotAsSent}},
            {Subcommand::kApply,
             "apply",
             "PLAN.csv",
             "configure many devices from a CSV plan",
             {{"--dry-run", nullptr, "check the plan, print what would change, send nothing",
               &ReadDryRun},
              {"--format", "FORMAT", "text (default), csv or json: one record per line",
               &ReadApplyFormat},
              WaitFor("longest wait for the plan's devices (default 2)"),
              {"--max-wrong-passwords", "N", "stop trying passwords after N rejected (default 3)",
               &ReadMaxWrongPasswords}},
             "PLAN.csv: a header line naming the columns, then one device per line: mac,\n"
             "and any of ip, mask, gateway, dns1, dns2, hostname, dhcp, password. Scan's\n"
             "other columns are ignored, so scan --format csv writes a plan. The\n"
             "separator is the first ',', ';' or tab of the header line. An empty cell\n"
             "or N/A keeps the device's value; empty lines and lines starting with '#'\n"
             "are skipped. A line without a password uses one password, read once from\n"
             "standard input. The whole plan is checked before anything is sent; when a\n"
             "line changes an IP, the scan waits the whole --wait, so that every device\n"
             "that has an address is heard. A line that frees an address goes before\n"
             "the line that takes it. A second scan then reads back each device sent to.\n"
             "Ctrl+C stops after the line in flight.\n",
             {kSuccess, kPlanFailures, kInvalidInput, kLibraryRefused, kWrongLibrary,
              kInterrupted}},
            {Subcommand::kWink,
             "wink",
             "MAC",
             "ask a device to signal",
             {WaitFor("longest wait for the device's answer (default 2)")},
             "Scans for the device and asks it to signal; it must speak protocol 1.10 or\n"
             "later. A wink is not acknowledged: the program ends once the library's\n"
             "last copy has left, " +
                 lastCopy + " after the first.\n",
             {kSuccess, kNotFound, kLibraryRefused, kWrongLibrary, kWinkUnsupported}},
            {Subcommand::kRecover,
             "recover",
             nullptr,
             "run the recovery DHCP server",
             {{"--for", "MINUTES", "stop after this long (default: at Ctrl-C)", &ReadFor}},
             "Runs the recovery DHCP server on port 67 in the foreground and prints one\n"
             "line per OFFER, ACK and NAK, until Ctrl-C or the minutes run out.\n",
             {kSuccess, kWrongLibrary, kDhcpInitFailed}},
        };
    }();
    return specs;
}

const SubcommandSpec* SpecOf(Subcommand subcommand) {
    for (const SubcommandSpec& spec : Specs())
        if (spec.subcommand == subcommand)
            return &spec;
    return nullptr;
}

std::string OptionLine(const std::string& option, const char* help) {
    const std::size_t kHelpColumn = 24;
    std::string line = "  " + option;
    line += line.size() < kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : " ";
    return line + help + '\n';
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

}  // namespace

std::vector<Subcommand> AllSubcommands() {
    std::vector<Subcommand> all = {Subcommand::kNone};
    for (const SubcommandSpec& spec : Specs())
        all.push_back(spec.subcommand);
    return all;
}

std::string HelpText(Subcommand subcommand) {
    const SubcommandSpec* spec = SpecOf(subcommand);
    if (!spec) {
        std::string text = "Usage: vantrel-cli SUBCOMMAND [OPTIONS]\n\n";
        for (const SubcommandSpec& each : Specs())
            text += OptionLine(each.name, each.summary);
        return text + "\nOptions:\n" + OptionLine("-h, --help", "print this help") +
               OptionLine("--version", "print the program's and zova.dll's versions") +
               "\nvantrel-cli SUBCOMMAND --help tells more. ZOVA_TARGET=ADDRESS:PORT sends\n"
               "to that address alone (such as the simulator's) instead of broadcasting.\n";
    }
    std::string text = std::string("Usage: vantrel-cli ") + spec->name +
                       (spec->operand ? std::string(" ") + spec->operand : "") + " [OPTIONS]\n\n" +
                       spec->text + ExitStatusHelp(spec->statuses) + "\nOptions:\n";
    for (const OptionSpec& option : spec->options)
        text += OptionLine(std::string(option.name) + (option.value ? " " : "") +
                               (option.value ? option.value : ""),
                           option.help);
    return text + OptionLine("-h, --help", "print this help");
}

namespace {

// The subcommand, or the program's own --help and --version.
ExitStatus ReadSubcommand(const std::string& name, Command& command, const SubcommandSpec*& spec,
                          std::string& error) {
    spec = nullptr;
    if (IsHelp(name) || name == "help") {
        command.help = true;
        return kSuccess;
    }
    if (name == "--version") {
        command.version = true;
        return kSuccess;
    }
    for (const SubcommandSpec& each : Specs())
        if (name == each.name)
            spec = &each;
    if (!spec) {
        error = "unknown subcommand: " + name;
        return kUsage;
    }
    command.subcommand = spec->subcommand;
    return kSuccess;
}

// The options after the subcommand, --name=value or --name value; the
// operands are left in positional.
ExitStatus ReadOptions(const std::vector<std::string>& args, const SubcommandSpec& spec,
                       Command& command, std::vector<std::string>& positional, std::string& error) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        if (IsHelp(option)) {
            command.help = true;
            return kSuccess;
        }
        if (option.size() < 2 || option[0] != '-') {
            positional.push_back(option);
            continue;
        }
        std::string value;
        const std::size_t equals = option.find('=');
        const bool hasValue = equals != std::string::npos;
        if (hasValue) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        const auto known =
            std::find_if(spec.options.begin(), spec.options.end(),
                         [&](const OptionSpec& each) { return option == each.name; });
        if (known == spec.options.end()) {
            error = "unknown option for " + std::string(spec.name) + ": " + option;
            return kUsage;
        }
        if (!known->value && hasValue) {
            error = option + " takes no value";
            return kUsage;
        }
        if (known->value && !hasValue) {
            if (i + 1 >= args.size()) {
                error = option + " needs a value";
                return kUsage;
            }
            value = args[++i];
        }
        if (const ExitStatus status = known->read(known->name, value, command, error))
            return status;
    }
    return kSuccess;
}

// The MAC or the plan the subcommand takes.
ExitStatus ReadOperands(const std::vector<std::string>& positional, const SubcommandSpec& spec,
                        Command& command, std::string& error) {
    const std::string name = spec.name;
    const bool takesMac = spec.operand && std::string(spec.operand) == "MAC";
    const std::size_t wanted = spec.operand ? 1 : 0;
    if (positional.size() != wanted) {
        error = wanted == 0 ? name + " takes no operand"
                : takesMac  ? name + " needs one MAC address"
                            : name + " needs one plan file";
        return kUsage;
    }
    if (takesMac) {
        const std::optional<base::Mac> mac = base::ParseMac(positional[0]);
        if (!mac) {
            error = "not a MAC address: " + positional[0];
            return kUsage;
        }
        command.mac = *mac;
    }
    if (command.subcommand == Subcommand::kApply)
        command.planPath = positional[0];
    return kSuccess;
}

}  // namespace

ExitStatus ParseArguments(const std::vector<std::string>& args, Command& command,
                          std::string& error) {
    if (args.empty()) {
        error = "no subcommand";
        return kUsage;
    }
    const SubcommandSpec* spec = nullptr;
    std::vector<std::string> positional;
    if (const ExitStatus status = ReadSubcommand(args[0], command, spec, error))
        return status;
    if (!spec)
        return kSuccess;  // the program's --help or --version
    if (const ExitStatus status = ReadOptions(args, *spec, command, positional, error))
        return status;
    if (command.help)
        return kSuccess;
    return ReadOperands(positional, *spec, command, error);
}

}  // namespace cli
