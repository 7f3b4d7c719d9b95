// The console program's plain logic: the command line and its help, CSV both
// ways, the scan output, changes checked with the dialog's and the program's
// rules, plans read and checked as a whole, outcomes and apply's reports.
#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Arguments.h"
#include "cli/Changes.h"
#include "cli/Csv.h"
#include "cli/DeviceTable.h"
#include "cli/ExitStatus.h"
#include "cli/Plan.h"
#include "cli/PlanCheck.h"
#include "tests/common/SampleAnswer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli::Command;
using cli::ExitStatus;
using cli::Subcommand;

// The device most cases talk about: password on, a host name, one DNS
// server, no salt.
ZOVA_ModuleScanResponseType Reported() {
    return harness::SampleAnswer(0xFF, 0xC0A80A15)  // 192.168.10.21
        .Mac({0x02, 0x6B, 0xD4, 0x00, 0x0A, 0xFF})
        .Protocol(1, 10)
        .Type("IO, \"8\" ch")
        .Firmware(2, 3, 45)
        .Gateway(0xC0A80A01)
        .Dhcp(0)
        .PasswordOn(1)
        .Hostname("alpha")
        .PrimaryDns(0x08080808);
}

std::vector<std::string> Split(const std::string& args) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < args.size()) {
        const std::size_t end = args.find(' ', pos);
        out.push_back(args.substr(pos, end - pos));
        pos = end == std::string::npos ? args.size() : end + 1;
    }
    return out;
}

TEST(CliArguments, ReadsEachSubcommandsOptions) {
    Command c;
    std::string error;
    ASSERT_EQ(cli::ParseArguments(Split("scan --wait 0.5 --format=json"), c, error), cli::kSuccess);
    EXPECT_EQ(c.subcommand, Subcommand::kScan);
    EXPECT_DOUBLE_EQ(c.waitSeconds, 0.5);
    EXPECT_EQ(c.format, cli::Format::kJson);

    c = Command{};
    ASSERT_EQ(cli::ParseArguments(
                  Split("configure 02-6b-d4-00-00-0a --ip 10.1.2.3 --dhcp on --hostname ab1 "
                        "--change-password --dns2 1.2.3.4"),
                  c, error),
              cli::kSuccess)
        << error;
    EXPECT_EQ(c.mac, (base::Mac{0x02, 0x6B, 0xD4, 0, 0, 0x0A}));
    EXPECT_EQ(c.changes.ip, 0x0A010203u);
    EXPECT_EQ(c.changes.dns2, 0x01020304u);
    EXPECT_FALSE(c.changes.mask.has_value());
    EXPECT_EQ(c.changes.dhcp, true);
    EXPECT_EQ(c.changes.hostname, "ab1");
    EXPECT_TRUE(c.changes.changePassword);

    c = Command{};
    ASSERT_EQ(cli::ParseArguments(Split("apply plan.csv --dry-run"), c, error), cli::kSuccess);
    EXPECT_EQ(c.planPath, "plan.csv");
    EXPECT_TRUE(c.dryRun);

    c = Command{};
    ASSERT_EQ(cli::ParseArguments(Split("recover --for 1.5"), c, error), cli::kSuccess);
    EXPECT_DOUBLE_EQ(c.forMinutes, 1.5);

    c = Command{};
    ASSERT_EQ(cli::ParseArguments(Split("wink 02:6B:D4:00:00:0A -h"), c, error), cli::kSuccess);
    EXPECT_TRUE(c.help);
    EXPECT_EQ(c.subcommand, Subcommand::kWink);
}

TEST(CliArguments, RefusesWhatItCannotRead) {
    const struct {
        const char* args;
        ExitStatus status;
        const char* error;
    } cases[] = {
        {"", cli::kUsage, "no subcommand"},
        {"list", cli::kUsage, "unknown subcommand: list"},
        {"scan --format xml", cli::kUsage, "--format: table, csv or json, not xml"},
        {"scan --wait", cli::kUsage, "--wait needs a value"},
        {"scan --wait -1", cli::kUsage, "--wait: seconds from 0 to 3600, not -1"},
        {"scan --ip 1.2.3.4", cli::kUsage, "unknown option for scan: --ip"},
        {"scan extra", cli::kUsage, "scan takes no operand"},
        {"configure", cli::kUsage, "configure needs one MAC address"},
        {"configure 02-6B-D4-00-00", cli::kUsage, "not a MAC address: 02-6B-D4-00-00"},
        {"configure 02-6B-D4-00-00-0G", cli::kUsage, "not a MAC address: 02-6B-D4-00-00-0G"},
        {"configure 02-6B-D4-00-00-01 --ip 10.0.0.256", cli::kInvalidInput,
         "ip '10.0.0.256': not a dotted IPv4 address"},
        {"configure 02-6B-D4-00-00-01 --dhcp yes", cli::kInvalidInput, "dhcp 'yes': on or off"},
        {"configure 02-6B-D4-00-00-01 --change-password=yes", cli::kUsage,
         "--change-password takes no value"},
        {"configure 02-6B-D4-00-00-01 --password secret", cli::kUsage,
         "unknown option for configure: --password"},
        {"wink 02-6B-D4-00-00-01 --dry-run", cli::kUsage, "unknown option for wink: --dry-run"},
        {"apply", cli::kUsage, "apply needs one plan file"},
        {"apply p.csv --format table", cli::kUsage, "--format: text, csv or json, not table"},
        {"scan -x", cli::kUsage, "unknown option for scan: -x"},
        {"recover --for 0", cli::kUsage, "--for: minutes above 0, at most 10080, not 0"},
    };
    for (const auto& c : cases) {
        Command command;
        std::string error;
        EXPECT_EQ(cli::ParseArguments(Split(c.args), command, error), c.status) << c.args;
        EXPECT_EQ(error, c.error) << c.args;
    }
}

// Catches a help text or option changed in the table and not in the docs.
TEST(CliHelp, DocsHoldEveryHelpTextWordForWord) {
    std::ifstream file(VANTREL_SOURCE_DIR "/docs/cli.md", std::ios::binary);
    std::stringstream docs;
    docs << file.rdbuf();
    ASSERT_FALSE(docs.str().empty());
    for (Subcommand sub : cli::AllSubcommands()) {
        // As an indented block of the Markdown file.
        std::string block;
        std::istringstream help(cli::HelpText(sub));
        for (std::string line; std::getline(help, line);)
            block += line.empty() ? "\n" : "    " + line + "\n";
        EXPECT_NE(docs.str().find(block), std::string::npos) << "not in docs/cli.md:\n" << block;
    }
}

// Catches the program refusing a target the library takes, or passing one
// the library refuses without a word.
TEST(CliAddress, TargetCheckAgreesWithTheLibraryAndSaysWhy) {
    const std::string longest = "127.0.0.1:1" + std::string(52, '0');  // 63 characters
    const std::string port = "the port is a number from 1 to 65535, not ";
    const struct {
        std::optional<std::string> value;
        std::string error;  // empty: accepted
    } cases[] = {
        {std::nullopt, ""},
        {"127.0.0.1:65535", ""},
        {"127.0.0.1:00080", ""},
        {"",
         "ZOVA_TARGET is set but empty; unset it to reach the network, or give ADDRESS:PORT "
         "(such as 127.0.0.1:17400)"},
        {"not-an-address",
         "ZOVA_TARGET 'not-an-address': not ADDRESS:PORT (such as 127.0.0.1:17400)"},
        {"localhost:9", "ZOVA_TARGET 'localhost:9': 'localhost' is not a dotted IPv4 address"},
        {"127.0.0.1:0", "ZOVA_TARGET '127.0.0.1:0': " + port + "'0'"},
        {"127.0.0.1:65536", "ZOVA_TARGET '127.0.0.1:65536': " + port + "'65536'"},
        {"127.0.0.1:9 ", "ZOVA_TARGET '127.0.0.1:9 ': " + port + "'9 '"},
        // At the limit the length passes and the port is read; one past, it does not.
        {longest, "ZOVA_TARGET '" + longest + "': " + port + "'" + longest.substr(10) + "'"},
        {longest + "0", "ZOVA_TARGET '" + longest + "0': longer than 63 characters"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(cli::CheckTarget(c.value, error), c.error.empty()) << c.value.value_or("(unset)");
        EXPECT_EQ(error, c.error);
    }
}

TEST(CliCsv, WritesFieldsAsRfc4180Asks) {
    EXPECT_EQ(cli::CsvRecord({"a", "b c", ""}), "a,b c,\r\n");
    EXPECT_EQ(cli::CsvRecord({"x,y", "say \"hi\"", "two\nlines", "cr\r"}),
              "\"x,y\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n");
}

TEST(CliCsv, ReadsBackWhatItWritesAndWhatSpreadsheetsWrite) {
    const std::vector<std::vector<std::string>> records = {
        {"mac", "hostname"}, {"x,y", "say \"hi\""}, {"two\r\nlines", ""}, {"", "last"}};
    std::string text;
    for (const auto& record : records)
        text += cli::CsvRecord(record);
    std::vector<cli::CsvRow> rows;
    std::string error;
    ASSERT_TRUE(cli::ParseCsv(text, rows, error)) << error;
    ASSERT_EQ(rows.size(), records.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].fields, records[i]);
    // The record after a quoted line break starts two lines further on.
    EXPECT_EQ(rows[3].line, 5);

    rows.clear();
    ASSERT_TRUE(cli::ParseCsv("a,b\n\nc,d", rows, error));  // LF only, an empty line, no end
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].line, 3);
    EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"c", "d"}));
}

TEST(CliCsv, SaysWhereTheSyntaxBreaks) {
    std::vector<cli::CsvRow> rows;
    std::string error;
    EXPECT_FALSE(cli::ParseCsv("a\n\"open,b\n", rows, error));
    EXPECT_EQ(error, "line 2: quote not closed");
    EXPECT_FALSE(cli::ParseCsv("a\nb\n\"q\"x,c\n", rows, error));
    EXPECT_EQ(error, "line 3: text after a closing quote");
}

TEST(CliJson, EscapesWhatWouldBreakTheText) {
    EXPECT_EQ(cli::JsonString("plain"), "\"plain\"");
    EXPECT_EQ(cli::JsonString("q\"b\\\n\t\x01\xE9"), "\"q\\\"b\\\\\\u000a\\u0009\\u0001\\u00e9\"");
}

TEST(CliDeviceTable, ShowsTheWindowsTextsAndTheRest) {
    ZOVA_ModuleScanResponseType r = Reported();
    EXPECT_EQ(cli::DeviceTexts(r),
              (std::vector<std::string>{"192.168.10.21", "255.255.255.0", "192.168.10.1", "Off",
                                        "2.03.45", "IO, \"8\" ch", "02-6B-D4-00-0A-FF", "alpha",
                                        "8.8.8.8", "N/A", "1.10", "On", "No"}));
    r.bIpAddrValid = r.bDhcpValid = r.bPasswordValid = r.bHostnameValid = 0;
    r.bPasswordSaltValid = 1;
    const std::vector<std::string> texts = cli::DeviceTexts(r);
    EXPECT_EQ(texts[0], "N/A");
    EXPECT_EQ(texts[3], "N/A");
    EXPECT_EQ(texts[7], "N/A");
    EXPECT_EQ(texts[11], "N/A");
    EXPECT_EQ(texts[12], "Yes");
}

TEST(CliDeviceTable, EachFormat) {
    ZOVA_ModuleScanResponseType second = Reported();
    second.bDhcpOn = 1;
    second.bHostnameValid = 0;
    second.bTypeValid = 0;
    second.bPasswordValid = 0;
    second.bPasswordSaltValid = 1;
    const std::vector<ZOVA_ModuleScanResponseType> devices = {Reported(), second};

    const std::string csv = cli::FormatDevices(devices, cli::Format::kCsv);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "ip,mask,gateway,dhcp,firmware,type,mac,hostname,dns1,dns2,protocol,"
              "password_protection,salted");
    EXPECT_NE(csv.find("\r\n192.168.10.21,255.255.255.0,192.168.10.1,Off,2.03.45,"
                       "\"IO, \"\"8\"\" ch\",02-6B-D4-00-0A-FF,alpha,8.8.8.8,N/A,1.10,On,No\r\n"),
              std::string::npos)
        << csv;

    const std::string json = cli::FormatDevices(devices, cli::Format::kJson);
    EXPECT_NE(json.find("{\"ip\": \"192.168.10.21\", \"mask\": \"255.255.255.0\", \"gateway\": "
                        "\"192.168.10.1\", \"dhcp\": false, \"firmware\": \"2.03.45\", \"type\": "
                        "\"IO, \\\"8\\\" ch\", \"mac\": \"02-6B-D4-00-0A-FF\", \"hostname\": "
                        "\"alpha\", \"dns1\": \"8.8.8.8\", \"dns2\": null, \"protocol\": \"1.10\", "
                        "\"password_protection\": true, \"salted\": false}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"dhcp\": true, \"firmware\": \"2.03.45\", \"type\": null"),
              std::string::npos);
    EXPECT_NE(json.find("\"hostname\": null"), std::string::npos);
    EXPECT_NE(json.find("\"password_protection\": null, \"salted\": true}"), std::string::npos);
    EXPECT_EQ(cli::FormatDevices({}, cli::Format::kJson), "[]\n");

    // The table lines up its columns: every line is as wide up to "mac".
    const std::string table = cli::FormatDevices(devices, cli::Format::kTable);
    const std::size_t macColumn = table.find("mac");
    EXPECT_EQ(table.find("02-6B-D4-00-0A-FF"), table.find('\n') + 1 + macColumn);
}

// Changes as "ip=10.0.0.5 hostname=beta2", read as configure's options are.
cli::Changes ChangesOf(const std::string& text) {
    cli::Changes changes;
    std::string error;
    for (const std::string& item : Split(text)) {
        const std::size_t equals = item.find('=');
        EXPECT_TRUE(cli::SetChange(changes, item.substr(0, equals), item.substr(equals + 1), error))
            << error;
    }
    return changes;
}

// Each rule once, on Reported() (192.168.10.21/24, gateway .1, "alpha", no
// secondary DNS) or on a device whose own name or IP breaks the dialog's rule.
TEST(CliChanges, EachRuleOnceWithTheValueInItsMessage) {
    using cli::Source;
    using cli::Verdict;
    const std::string name29(29, 'n');
    const std::string ownNameError =
        "current host name 'sim-01' is not allowed (Illegal hostname! "
        "Only a-z, A-Z and 0-9 allowed.); give ";
    struct Case {
        std::string changes;
        std::string message;  // kInvalid: the error; kSend: the warning
        Verdict verdict = Verdict::kInvalid;
        const char* ownName = nullptr;  // null: "alpha"
        std::uint32_t ownIp = 0;        // 0: as reported
        Source source = Source::kPlan;
    };
    const Case cases[] = {
        // Asking for what the device has sends nothing and breaks no rule, not
        // even with a name of its own that does, as its scan's CSV gives it back.
        {"hostname=sim-01", "", Verdict::kNoChange, "sim-01"},
        {"ip=192.168.10.30", ownNameError + "--hostname", Verdict::kInvalid, "sim-01", 0,
         Source::kCommandLine},
        {"ip=192.168.10.30", ownNameError + "a new one in the hostname column", Verdict::kInvalid,
         "sim-01"},
        {"hostname=bad-name",
         "hostname 'bad-name': Illegal hostname! Only a-z, A-Z and 0-9 allowed."},
        {"hostname=" + name29, "", Verdict::kSend},
        {"hostname=" + name29 + "x", "hostname '" + name29 + "x': longer than 29 characters"},
        {"ip=192.168.10.255", "ip '192.168.10.255': Last digit of IP address can not be 255."},
        {"hostname=beta",
         "current IP address '192.168.1.255' is not allowed (Last digit of IP address can not "
         "be 255.); give --ip",
         Verdict::kInvalid, nullptr, 0xC0A801FF, Source::kCommandLine},
        {"dns2=1.1.1.1", "dns2 '1.1.1.1': the device does not report its secondary DNS"},
        // The program's own address rules; /30 is the last prefix with a broadcast.
        {"mask=255.255.0.255", "mask '255.255.0.255': not a contiguous subnet mask"},
        {"ip=0.0.0.0", "ip '0.0.0.0': not a device's address"},
        {"ip=192.168.10.0", "ip '192.168.10.0': the network address of 192.168.10.0/24"},
        {"ip=192.168.10.3 mask=255.255.255.252",
         "ip '192.168.10.3': the broadcast address of 192.168.10.0/30"},
        {"ip=192.168.10.0 mask=255.255.255.254", "", Verdict::kSend},
        // A gateway outside the subnet is only warned about; none (0.0.0.0) is not.
        {"ip=10.0.0.5", "gateway '192.168.10.1' is outside the subnet 10.0.0.0/24", Verdict::kSend},
        {"ip=10.0.0.5 gateway=0.0.0.0", "", Verdict::kSend},
    };
    for (const Case& c : cases) {
        ZOVA_ModuleScanResponseType device = Reported();
        if (c.ownName)
            std::strcpy(device.szHostname, c.ownName);
        if (c.ownIp)
            device.dwIpAddr = c.ownIp;
        const cli::Prepared prepared = cli::PrepareChanges(device, ChangesOf(c.changes), c.source);
        EXPECT_EQ(prepared.verdict, c.verdict) << c.changes;
        EXPECT_EQ(c.verdict == Verdict::kInvalid ? prepared.error : prepared.warning, c.message)
            << c.changes;
    }

    // What is sent: the changes on top of what the device reported.
    const cli::Prepared sent = cli::PrepareChanges(
        Reported(), ChangesOf("ip=10.0.0.5 hostname=beta2 dhcp=on"), cli::Source::kPlan);
    EXPECT_EQ(sent.settings.m_dwGateway, 0xC0A80A01u);
    EXPECT_EQ(cli::DescribeChanges(configure::SettingsFromResponse(Reported()), sent.settings),
              (std::vector<std::string>{"ip 192.168.10.21 -> 10.0.0.5", "hostname alpha -> beta2",
                                        "dhcp off -> on"}));
}

TEST(CliChanges, PasswordsGoWhereTheDialogLetsThem) {
    std::string error;
    cli::Changes changes;
    changes.changePassword = true;
    cli::Prepared p = cli::PrepareChanges(Reported(), changes, cli::Source::kCommandLine);
    ASSERT_EQ(p.verdict, cli::Verdict::kSend);  // a new password alone is a change
    ASSERT_TRUE(cli::SetPasswords(p.settings, "old ", "new", error));
    EXPECT_STREQ(p.settings.m_szPassword, "old ");
    EXPECT_STREQ(p.settings.m_szNewPassword, "new");
    EXPECT_EQ(p.settings.m_bChangePassword, 1);

    ZOVA_ModuleScanResponseType open = Reported();
    open.bPasswordOn = 0;
    p = cli::PrepareChanges(open, ChangesOf("hostname=b"), cli::Source::kCommandLine);
    ASSERT_TRUE(cli::SetPasswords(p.settings, "ignored", "ignored too", error));
    EXPECT_STREQ(p.settings.m_szPassword, "");
    EXPECT_STREQ(p.settings.m_szNewPassword, "");
    EXPECT_TRUE(cli::SetPasswords(p.settings, std::string(29, 'p'), "", error));
    EXPECT_FALSE(cli::SetPasswords(p.settings, std::string(30, 'p'), "", error));
    EXPECT_EQ(error, "password longer than 29 characters");

    // Only a blank at the end, as `echo pw |` leaves it, gets the hint.
    EXPECT_EQ(cli::WrongPasswordHint(" pw"), "");
}

// A plan line in a few words: "3: MAC ip=10.0.0.1 dhcp=on password='x'", or
// "3: MAC ! error".
std::string Described(const cli::PlanLine& line) {
    std::string text = std::to_string(line.line) + ": " + line.macText;
    if (!line.error.empty())
        return text + " ! " + line.error;
    const cli::Changes& c = line.changes;
    if (c.ip)
        text += " ip=" + base::Ipv4Text(*c.ip);
    if (c.hostname)
        text += " hostname=" + cli::Quoted(*c.hostname);
    if (c.dhcp)
        text += *c.dhcp ? " dhcp=on" : " dhcp=off";
    if (line.password)
        text += " password=" + cli::Quoted(*line.password);
    return text;
}

// The reading rules, each once: what spreadsheets save and people write.
TEST(CliPlan, ReadsWhatSpreadsheetsSaveAndNamesEachBadCell) {
    const std::string pw29(29, 'p');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        // BOM, ';', CRLF, a comment, blanks around cells, a trailing empty row.
        {"\xEF\xBB\xBFmac;ip;hostname;password\r\n"
         "# comment, with a \"quote\r\n"
         " 02-6B-D4-00-00-01 ; 10.0.0.1 ; one ; pw 1 \r\n"
         ";;;\r\n"
         " \r\n",
         {"3: 02-6B-D4-00-00-01 ip=10.0.0.1 hostname='one' password=' pw 1 '"}},
        // Tab, names and values in any case, N/A keeps, an empty password asks.
        {"MAC\tIP\tDHCP\tGateway\tPassword\n02-6b-d4-00-00-02\tn/a\tOFF\tN/A\t\n",
         {"2: 02-6b-d4-00-00-02 dhcp=off"}},
        // Empty header cells at the end, and empty cells under them.
        {"mac,ip,,\n02-6B-D4-00-00-04,10.0.0.4,,\n02-6B-D4-00-00-05,10.0.0.5,,x\n",
         {"2: 02-6B-D4-00-00-04 ip=10.0.0.4",
          "3: 02-6B-D4-00-00-05 ! 4 cells where the header has 2"}},
        // Each bad cell names its column and value; the rest still count.
        {"mac,ip,dhcp\n"
         "02-6B-D4-00-00-0X,10.0.0.3,\n"
         "02-6B-D4-00-00-04,10.0.0,\n"
         "02-6B-D4-00-00-05,,yes\n"
         "02-6B-D4-00-00-08\n"
         "02-6B-D4-00-00-06,,\n"
         "02-6b-d4-00-00-06,10.0.0.6,\n",
         {"2: 02-6B-D4-00-00-0X ! mac '02-6B-D4-00-00-0X': not a MAC address",
          "3: 02-6B-D4-00-00-04 ! ip '10.0.0': not a dotted IPv4 address",
          "4: 02-6B-D4-00-00-05 ! dhcp 'yes': on or off",
          "5: 02-6B-D4-00-00-08 ! 1 cells where the header has 3", "6: 02-6B-D4-00-00-06",
          "7: 02-6b-d4-00-00-06 ! mac '02-6b-d4-00-00-06': the same device as line 6"}},
        // A password at the limit, and one past it.
        {"mac,password\n02-6B-D4-00-00-06," + pw29 + "\n02-6B-D4-00-00-07," + pw29 + "x\n",
         {"2: 02-6B-D4-00-00-06 password='" + pw29 + "'",
          "3: 02-6B-D4-00-00-07 ! password: longer than 29 characters"}},
    };
    for (const auto& c : cases) {
        cli::Plan plan;
        std::string error;
        ASSERT_TRUE(cli::ParsePlan(c.text, plan, error)) << error;
        std::vector<std::string> lines;
        for (const cli::PlanLine& line : plan.lines)
            lines.push_back(Described(line));
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CliPlan, RefusesAPlanItCannotRead) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "the plan has no header line"},
        {"\xEF\xBB\xBF# only a comment\r\n,,\r\n", "the plan has no header line"},
        {"ip,hostname\r\n", "line 1: no mac column"},
        {"mac,address\r\n",
         "line 1: unknown column 'address'; the columns are mac, ip, mask, gateway, dns1, dns2, "
         "hostname, dhcp, password; ignored: firmware, type, protocol, password_protection, "
         "salted"},
        {"mac,ip,IP\r\n", "line 1: column twice: 'IP'"},
        {"mac\r\n\"02-6B-D4-00-00-01\r\n", "line 2: quote not closed"},
        {std::string("mac,ip\r\n02-6B-D4-00-00-01,\0\r\n", 29),
         "line 2: a NUL byte; the plan must be text: save it as CSV (UTF-8)"},
        {std::string("\xFF\xFEm\0a\0c\0", 8), "the plan is UTF-16 text; save it as CSV (UTF-8)"},
    };
    for (const auto& c : cases) {
        cli::Plan plan;
        std::string error;
        EXPECT_FALSE(cli::ParsePlan(c.text, plan, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

// The plan as a whole: two lines, or a line and a device that keeps its IP,
// may not end with the same IP; a swap may. The fleet: 02-6B-D4-0A-FF-0n at
// 192.168.10.2n for n = 1 to 4, reporting no host name.
TEST(CliPlanCheck, RefusesAnIpTakenAfterThePlan) {
    std::vector<ZOVA_ModuleScanResponseType> fleet;
    for (std::uint8_t n = 1; n <= 4; ++n)
        fleet.push_back(harness::SampleAnswer(n, 0xC0A80A14u + n));
    const struct {
        const char* plan;  // "mac,ip,hostname" lines follow the header
        std::vector<std::string> results;
    } cases[] = {
        {"02-6B-D4-0A-FF-01,192.168.10.50,\n02-6B-D4-0A-FF-02,192.168.10.50,\n",
         {"invalid: ip '192.168.10.50': line 3 gives it too",
          "invalid: ip '192.168.10.50': line 2 gives it too"}},
        // Device 4 is not in the plan and keeps .24.
        {"02-6B-D4-0A-FF-01,192.168.10.24,\n",
         {"invalid: ip '192.168.10.24': 02-6B-D4-0A-FF-04 has it and keeps it"}},
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.21,\n",
         {"would apply", "would apply"}},
        // A swap whose other half is refused; and a chain that ends at a kept
        // IP is refused link by link.
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.21,x\n",
         {"invalid: ip '192.168.10.22': 02-6B-D4-0A-FF-02 has it and keeps it",
          "invalid: hostname 'x': the device does not report its host name"}},
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.23,\n"
         "02-6B-D4-0A-FF-03,192.168.10.24,\n",
         {"invalid: ip '192.168.10.22': 02-6B-D4-0A-FF-02 has it and keeps it",
          "invalid: ip '192.168.10.23': 02-6B-D4-0A-FF-03 has it and keeps it",
          "invalid: ip '192.168.10.24': 02-6B-D4-0A-FF-04 has it and keeps it"}},
    };
    for (const auto& c : cases) {
        cli::Plan plan;
        std::string error;
        ASSERT_TRUE(cli::ParsePlan(std::string("mac,ip,hostname\n") + c.plan, plan, error))
            << error;
        std::vector<std::string> results;
        for (const cli::LineCheck& check : cli::CheckPlan(plan, fleet))
            results.push_back(cli::OutcomeText(check.outcome) +
                              (check.reason.empty() ? "" : ": " + check.reason));
        EXPECT_EQ(results, c.results) << c.plan;
    }
}

TEST(CliOutcome, StatusSummaryAndReports) {
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kAccepted), cli::kSuccess);
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kWrongPassword), cli::kWrongPassword);
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kNotFound), cli::kNotFound);
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kNoAnswer), cli::kNoAnswer);
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kInvalid), cli::kInvalidInput);
    EXPECT_EQ(cli::StatusOf(cli::Outcome::kWouldApply), cli::kSuccess);
    EXPECT_EQ(cli::SummaryText({cli::Outcome::kInvalid, cli::Outcome::kAccepted,
                                cli::Outcome::kNoAnswer, cli::Outcome::kAccepted,
                                cli::Outcome::kNotFound, cli::Outcome::kWrongPassword}),
              "6 lines: 2 accepted, 1 wrong password, 1 not found, 1 no answer, 1 invalid");
    EXPECT_EQ(cli::SummaryText({cli::Outcome::kWouldApply, cli::Outcome::kInvalid}),
              "2 lines: 1 invalid, 1 would apply");
    EXPECT_EQ(cli::SummaryText({}), "0 lines:");

    // The JSON report, which no end-to-end case reads: records apart, null
    // for no reason.
    using cli::Format;
    const cli::LineReport invalid{7, "02-6B-D4-00-00-07", cli::Outcome::kInvalid,
                                  "hostname 'a,\"b': Illegal"};
    const cli::LineReport accepted{9, "02-6B-D4-00-00-09", cli::Outcome::kAccepted, ""};
    EXPECT_EQ(cli::ReportStart(Format::kJson) + cli::ReportLine(Format::kJson, invalid, true) +
                  cli::ReportLine(Format::kJson, accepted, false) +
                  cli::ReportEnd(Format::kJson, false),
              "[\n  {\"line\": 7, \"mac\": \"02-6B-D4-00-00-07\", \"result\": \"invalid\", "
              "\"reason\": \"hostname 'a,\\\"b': Illegal\"},\n  {\"line\": 9, \"mac\": "
              "\"02-6B-D4-00-00-09\", \"result\": \"accepted\", \"reason\": null}\n]\n");
    EXPECT_EQ(cli::ReportStart(Format::kJson) + cli::ReportEnd(Format::kJson, true), "[]\n");
}

}  // namespace
