// The console program's plain logic: the command line and its help, CSV both
// ways, the scan output, changes checked with the dialog's and the program's
// rules, plans read and checked as a whole, outcomes and apply's reports.
#include "base/Address.h"
#include "cli/Address.h"
#include "cli/Arguments.h"
#include "cli/Changes.h"
#include "cli/Csv.h"
#include "cli/DeviceTable.h"
#include "cli/Encoding.h"
#include "cli/ExitStatus.h"
#include "cli/Plan.h"
#include "cli/PlanCheck.h"
#include "cli/PlanSend.h"
#include "cli/ReadBack.h"
#include "cli/Report.h"
#include "cli/ResultLedger.h"
#include "tests/common/SampleAnswer.h"
#include "zovadll/Engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli::Command;
using cli::ExitStatus;
using cli::Outcome;
using cli::Reply;
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

// The tests' system code page: Latin-1, each byte the code point of its value.
std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
    std::string latin1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80)
            latin1 += text[i];
        else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size())
            latin1 += static_cast<char>((byte & 0x03) << 6 | (text[++i] & 0x3F));
        else
            return std::nullopt;
    }
    return latin1;
}

const cli::CodePage kLatin1{&Latin1ToUtf8, &Utf8ToLatin1};

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
    ASSERT_EQ(
        cli::ParseArguments(Split("apply plan.csv --dry-run --max-wrong-passwords 1"), c, error),
        cli::kSuccess);
    EXPECT_EQ(c.planPath, "plan.csv");
    EXPECT_TRUE(c.dryRun);
    EXPECT_EQ(c.maxWrongPasswords, 1);

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
        {"apply p.csv --max-wrong-passwords 0", cli::kUsage,
         "--max-wrong-passwords: a whole number from 1 to 1000000, not 0"},
        {"apply p.csv --max-wrong-passwords 2.5", cli::kUsage,
         "--max-wrong-passwords: a whole number from 1 to 1000000, not 2.5"},
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

// Device texts are in the code page; JSON gets them as UTF-8.
TEST(CliJson, EscapesWhatWouldBreakTheTextAndKeepsUtf8) {
    EXPECT_EQ(cli::JsonString("plain"), "\"plain\"");
    EXPECT_EQ(cli::JsonString("q\"b\\\n\t\x01\x7F\xC3\xA9"),
              "\"q\\\"b\\\\\\u000a\\u0009\\u0001\\u007f\xC3\xA9\"");
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
    // A hostile device's texts: a terminal title and colour, a CR, and é in
    // the code page.
    ZOVA_ModuleScanResponseType hostile = Reported();
    std::strcpy(hostile.szHostname, "\x1B]0;x\x07\x1B[31m");
    std::strcpy(hostile.szType, "a\rb\xE9");
    const std::vector<ZOVA_ModuleScanResponseType> devices = {Reported(), second, hostile};

    const std::string csv = cli::FormatDevices(devices, cli::Format::kCsv, kLatin1);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "\xEF\xBB\xBFip,mask,gateway,dhcp,firmware,type,mac,hostname,dns1,dns2,protocol,"
              "password_protection,salted");
    EXPECT_NE(csv.find("\r\n192.168.10.21,255.255.255.0,192.168.10.1,Off,2.03.45,"
                       "\"IO, \"\"8\"\" ch\",02-6B-D4-00-0A-FF,alpha,8.8.8.8,N/A,1.10,On,No\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find(",\"a\rb\xC3\xA9\",02-6B-D4-00-0A-FF,\x1B]0;x\x07\x1B[31m,"),
              std::string::npos)
        << csv;

    const std::string json = cli::FormatDevices(devices, cli::Format::kJson, kLatin1);
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
    EXPECT_NE(json.find("\"type\": \"a\\u000db\xC3\xA9\", \"mac\": \"02-6B-D4-00-0A-FF\", "
                        "\"hostname\": \"\\u001b]0;x\\u0007\\u001b[31m\""),
              std::string::npos)
        << json;
    EXPECT_EQ(cli::FormatDevices({}, cli::Format::kJson, kLatin1), "[]\n");

    // The table lines up its columns: every line is as wide up to "mac"; the
    // hostile texts reach the terminal escaped, in the code page.
    const std::string table = cli::FormatDevices(devices, cli::Format::kTable, kLatin1);
    const std::size_t macColumn = table.find("mac");
    EXPECT_EQ(table.find("02-6B-D4-00-0A-FF"), table.find('\n') + 1 + macColumn);
    EXPECT_NE(table.find("a\\x0Db\xE9 "), std::string::npos) << table;
    EXPECT_NE(table.find("  \\x1B]0;x\\x07\\x1B[31m  "), std::string::npos) << table;
    EXPECT_EQ(table.find('\x1B'), std::string::npos);
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
    const std::string name29(29, 'n'), name35 = "Line4PackagingStationConveyorDrive2";
    const std::string ownNameError =
        "current host name 'sim-01' is not allowed (Illegal hostname! "
        "Only a-z, A-Z and 0-9 allowed.); give ";
    struct Case {
        std::string changes;
        std::string message;  // kInvalid: the error; kSend: the warning
        Verdict verdict = Verdict::kInvalid;
        std::string ownName = "alpha";
        std::optional<std::uint32_t> ownIp, ownMask;  // none: as reported
        Source source = Source::kPlan;
        bool dhcpUnreported = false;
    };
    const std::string outside = "gateway '192.168.10.1' is outside the subnet ";
    const Case cases[] = {
        // Asking for what the device has sends nothing and breaks no rule, not
        // even with a name of its own that does, as its scan's CSV gives it back.
        {"hostname=sim-01", "", Verdict::kNoChange, "sim-01"},
        {"ip=192.168.10.30",
         ownNameError + "--hostname",
         Verdict::kInvalid,
         "sim-01",
         {},
         {},
         Source::kCommandLine},
        {"ip=192.168.10.30", ownNameError + "a new one in the hostname column", Verdict::kInvalid,
         "sim-01"},
        {"hostname=bad-name",
         "hostname 'bad-name': Illegal hostname! Only a-z, A-Z and 0-9 allowed."},
        {"hostname=" + name29, "", Verdict::kSend},
        {"hostname=" + name29 + "x", "hostname '" + name29 + "x': longer than 29 characters"},
        // A name of its own that a request would cut: kept only where nothing goes.
        {"dns1=8.8.4.4",
         "current host name '" + name35 +
             "' is not allowed (longer than 29 characters, which a request would cut); give a "
             "new one in the hostname column",
         Verdict::kInvalid, name35},
        {"hostname=" + name35, "", Verdict::kNoChange, name35},
        {"hostname=short dns1=8.8.4.4", "", Verdict::kSend, name35},
        {"ip=192.168.10.255", "ip '192.168.10.255': Last digit of IP address can not be 255."},
        {"hostname=beta",
         "current IP address '192.168.1.255' is not allowed (Last digit of IP address can not "
         "be 255.); give --ip",
         Verdict::kInvalid,
         "alpha",
         0xC0A801FF,
         {},
         Source::kCommandLine},
        {"dns2=1.1.1.1", "dns2 '1.1.1.1': the device does not report its secondary DNS"},
        {"dhcp=off",
         "dhcp 'off': the device does not report DHCP",
         Verdict::kInvalid,
         "alpha",
         {},
         {},
         Source::kPlan,
         true},
        // The program's own address rules; /30 is the last prefix with a broadcast.
        {"mask=255.255.0.255", "mask '255.255.0.255': not a contiguous subnet mask"},
        {"mask=0.0.0.0", "mask '0.0.0.0': a /0 mask puts every address in the device's subnet"},
        {"mask=255.255.255.255",
         "mask '255.255.255.255': a /32 mask leaves the device alone in its subnet"},
        {"ip=0.0.0.0", "ip '0.0.0.0': not a device's address"},
        {"ip=127.255.255.254",
         "ip '127.255.255.254': a loopback address, which only the host itself reaches"},
        {"ip=128.0.0.1", outside + "128.0.0.0/24", Verdict::kSend},
        {"ip=224.0.0.1", "ip '224.0.0.1': a multicast address, not a device's"},
        {"ip=239.255.255.254", "ip '239.255.255.254': a multicast address, not a device's"},
        {"ip=240.0.0.1", outside + "240.0.0.0/24", Verdict::kSend},
        {"ip=192.168.10.0", "ip '192.168.10.0': the network address of 192.168.10.0/24"},
        {"ip=192.168.10.3 mask=255.255.255.252",
         "ip '192.168.10.3': the broadcast address of 192.168.10.0/30"},
        {"ip=192.168.10.0 mask=255.255.255.254", "", Verdict::kSend},
        // A new mask alone can make the device's own IP its subnet's broadcast.
        {"mask=255.255.255.128", "ip '192.168.10.127': the broadcast address of 192.168.10.0/25",
         Verdict::kInvalid, "alpha", 0xC0A80A7F},
        // A device waiting for DHCP at 0.0.0.0 keeps it and takes a new name.
        {"hostname=beta", "", Verdict::kSend, "alpha", 0, 0},
        // A gateway outside the subnet is only warned about; none (0.0.0.0) is not.
        {"ip=10.0.0.5", outside + "10.0.0.0/24", Verdict::kSend},
        {"ip=10.0.0.5 gateway=0.0.0.0", "", Verdict::kSend},
    };
    for (const Case& c : cases) {
        ZOVA_ModuleScanResponseType device = Reported();
        std::strcpy(device.szHostname, c.ownName.c_str());
        device.dwIpAddr = c.ownIp.value_or(device.dwIpAddr);
        device.dwSubnetMask = c.ownMask.value_or(device.dwSubnetMask);
        device.bDhcpValid = c.dhcpUnreported ? 0 : 1;
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

// Catches a password the user gave dropped because the device does not say
// it has one, and the hint of the Windows prompt given for a plan's cell.
TEST(CliChanges, APasswordGivenIsAlwaysSent) {
    std::string error;
    cli::Changes changes;
    changes.changePassword = true;
    cli::Prepared p = cli::PrepareChanges(Reported(), changes, cli::Source::kCommandLine);
    ASSERT_EQ(p.verdict, cli::Verdict::kSend);  // a new password alone is a change
    ASSERT_TRUE(cli::SetPasswords(p.settings, "old ", "new", error));
    EXPECT_STREQ(p.settings.m_szPassword, "old ");
    EXPECT_STREQ(p.settings.m_szNewPassword, "new");

    for (std::uint8_t valid : {0, 1}) {
        ZOVA_ModuleScanResponseType open = Reported();
        open.bPasswordOn = 0;
        open.bPasswordValid = valid;
        EXPECT_EQ(cli::PasswordNeedOf(open),
                  valid ? cli::PasswordNeed::kNone : cli::PasswordNeed::kUnknown);
        p = cli::PrepareChanges(open, ChangesOf("hostname=b"), cli::Source::kCommandLine);
        ASSERT_TRUE(cli::SetPasswords(p.settings, "given", "not asked for", error));
        EXPECT_STREQ(p.settings.m_szPassword, "given");
        EXPECT_STREQ(p.settings.m_szNewPassword, "");
    }
    EXPECT_TRUE(cli::SetPasswords(p.settings, std::string(29, 'p'), "", error));
    EXPECT_FALSE(cli::SetPasswords(p.settings, std::string(30, 'p'), "", error));
    EXPECT_EQ(error, "password longer than 29 characters");

    // Only a blank at the end, as `echo pw |` leaves it, gets the hint.
    EXPECT_EQ(cli::WrongPasswordHint(" pw", cli::PasswordFrom::kInput), "");
    EXPECT_NE(cli::WrongPasswordHint("pw ", cli::PasswordFrom::kInput).find("echo pw|"),
              std::string::npos);
    EXPECT_EQ(cli::WrongPasswordHint("pw ", cli::PasswordFrom::kPlanCell).find("echo"),
              std::string::npos);
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
        // Excel's "sep=" line names the separator; a comment above the
        // header does not, commas and all.
        {"sep=;\r\nmac;hostname\r\n02-6B-D4-00-00-01;one\r\n",
         {"3: 02-6B-D4-00-00-01 hostname='one'"}},
        {"# by hand, a, b\r\nmac;hostname\r\n02-6B-D4-00-00-01;one\r\n",
         {"3: 02-6B-D4-00-00-01 hostname='one'"}},
        // UTF-8: no-break spaces around cells are blanks, and a text comes in
        // the code page; so does a plan saved in the code page itself; a
        // character the code page has not cannot be sent.
        {"mac,ip,hostname\n\xC2\xA0"
         "02-6B-D4-00-00-03\xC2\xA0,10.0.0.3\xC2\xA0,Caf\xC3\xA9\n",
         {"2: 02-6B-D4-00-00-03 ip=10.0.0.3 hostname='Caf\xE9'"}},
        {"mac,hostname\n02-6B-D4-00-00-03,Caf\xE9\n", {"2: 02-6B-D4-00-00-03 hostname='Caf\xE9'"}},
        {"mac,hostname\n02-6B-D4-00-00-03,\xE2\x82\xAC"
         "1\n",
         {"2: 02-6B-D4-00-00-03 ! hostname: a character the system's code page has not"}},
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
        ASSERT_TRUE(cli::ParsePlan(c.text, kLatin1, plan, error)) << error;
        std::vector<std::string> lines;
        for (const cli::PlanLine& line : plan.lines)
            lines.push_back(Described(line));
        EXPECT_EQ(lines, c.lines) << c.text;
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
        EXPECT_FALSE(cli::ParsePlan(c.text, kLatin1, plan, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

// The fleet of the plan checks: 02-6B-D4-0A-FF-0n at 192.168.10.2n, named
// devn, for n = 1 to 4; devices 3 and 4 have a password.
std::vector<ZOVA_ModuleScanResponseType> Fleet() {
    std::vector<ZOVA_ModuleScanResponseType> fleet;
    for (std::uint8_t n = 1; n <= 4; ++n)
        fleet.push_back(harness::SampleAnswer(n, 0xC0A80A14u + n)
                            .Hostname(("dev" + std::to_string(n)).c_str())
                            .PasswordOn(n >= 3 ? 1 : 0));
    return fleet;
}

cli::Plan PlanOf(const std::string& lines) {
    cli::Plan plan;
    std::string error;
    EXPECT_TRUE(cli::ParsePlan("mac,ip,hostname\n" + lines, kLatin1, plan, error)) << error;
    return plan;
}

// The plan as a whole: two lines, or a line and a device that keeps its IP,
// may not end with the same IP, nor pass through one on the way; a line that
// takes an IP another line frees goes after it ("after line N").
TEST(CliPlanCheck, NoTwoDevicesOnOneIpAfterThePlanOrOnTheWay) {
    const base::Mac twin{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01};
    const struct {
        const char* plan;  // "mac,ip,hostname" lines follow the header
        std::vector<std::string> results;
        std::vector<base::Mac> twins;
    } cases[] = {
        {"02-6B-D4-0A-FF-01,192.168.10.50,\n02-6B-D4-0A-FF-02,192.168.10.50,\n",
         {"invalid: ip '192.168.10.50': line 3 gives it too",
          "invalid: ip '192.168.10.50': line 2 gives it too"}},
        // Device 4 is not in the plan and keeps .24.
        {"02-6B-D4-0A-FF-01,192.168.10.24,\n",
         {"invalid: ip '192.168.10.24': 02-6B-D4-0A-FF-04 has it and keeps it"}},
        // A line that gives its device's own IP does not move it: its rename
        // goes, the line that wants the IP does not.
        {"02-6B-D4-0A-FF-01,192.168.10.21,new1\n02-6B-D4-0A-FF-02,192.168.10.21,\n",
         {"would apply", "invalid: ip '192.168.10.21': 02-6B-D4-0A-FF-01 has it and keeps it"}},
        // A chain goes from its free end; swaps and circles cannot.
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.50,\n",
         {"would apply after line 3", "would apply"}},
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.21,\n",
         {"invalid: ip '192.168.10.22': lines 2 and 3 swap addresses, which puts two devices on "
          "one address on the way; move one of them to a free address first",
          "invalid: ip '192.168.10.21': lines 2 and 3 swap addresses, which puts two devices on "
          "one address on the way; move one of them to a free address first"}},
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.23,\n"
         "02-6B-D4-0A-FF-03,192.168.10.21,\n",
         {"invalid: ip '192.168.10.22': lines 2, 3 and 4 move in a circle, which puts two "
          "devices on one address on the way; move one of them to a free address first",
          "invalid: ip '192.168.10.23': lines 2, 3 and 4 move in a circle, which puts two "
          "devices on one address on the way; move one of them to a free address first",
          "invalid: ip '192.168.10.21': lines 2, 3 and 4 move in a circle, which puts two "
          "devices on one address on the way; move one of them to a free address first"}},
        // A chain whose far end is refused is refused link by link.
        {"02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.23,\n"
         "02-6B-D4-0A-FF-03,192.168.10.24,\n",
         {"invalid: ip '192.168.10.22': 02-6B-D4-0A-FF-02 has it and keeps it",
          "invalid: ip '192.168.10.23': 02-6B-D4-0A-FF-03 has it and keeps it",
          "invalid: ip '192.168.10.24': 02-6B-D4-0A-FF-04 has it and keeps it"}},
        {"02-6B-D4-0A-FF-01,,new1\n",
         {"invalid: mac '02-6B-D4-0A-FF-01': two devices answer with this MAC; give each its "
          "own first"},
         {twin}},
    };
    const std::vector<ZOVA_ModuleScanResponseType> fleet = Fleet();
    for (const auto& c : cases) {
        const cli::Plan plan = PlanOf(c.plan);
        std::vector<std::string> results;
        for (const cli::LineCheck& check : cli::CheckPlan(plan, fleet, c.twins)) {
            std::string result = cli::OutcomeText(check.outcome);
            for (std::size_t first : check.after)
                result += " after line " + std::to_string(plan.lines[first].line);
            results.push_back(result + (check.reason.empty() ? "" : ": " + check.reason));
        }
        EXPECT_EQ(results, c.results) << c.plan;
    }
}

// Catches an acceptance counted for the request in flight while an earlier
// one still waits: the library's acceptance names no device.
TEST(CliResultLedger, AnAcceptanceIsTiedOnlyWhenNoOtherRequestWaits) {
    const base::Mac a{2, 0, 0, 0, 0, 1}, b{2, 0, 0, 0, 0, 2};
    cli::ResultLedger ledger;
    ledger.Sent(a);
    EXPECT_EQ(ledger.ReplyOf(a), std::nullopt);
    ledger.Sent(b);  // a's result is late
    ledger.Accepted();
    EXPECT_EQ(ledger.ReplyOf(a), Reply::kSomeDevice);
    EXPECT_EQ(ledger.ReplyOf(b), Reply::kSomeDevice);
    const base::Mac c{2, 0, 0, 0, 0, 3};
    ledger.Sent(c);  // after that acceptance, which cannot be its
    EXPECT_EQ(ledger.ReplyOf(c), std::nullopt);
    ledger.Rejected(b);
    ledger.Rejected(c);  // then the one acceptance was a's
    EXPECT_EQ(ledger.ReplyOf(a), Reply::kAccepted);
    EXPECT_EQ(ledger.ReplyOf(b), Reply::kWrongPassword);
    EXPECT_EQ(ledger.Rejections(), 2);
    ledger.Accepted();  // for no request waiting
    ledger.Sent(a);
    ledger.Accepted();
    EXPECT_EQ(ledger.ReplyOf(a), Reply::kAccepted);

    // The library keeps 64 requests waiting and forgets the oldest past that:
    // at the bound every acceptance ties, one past it the oldest stays untied.
    for (std::size_t waiting : {zova::Engine::kMaxPending, zova::Engine::kMaxPending + 1}) {
        cli::ResultLedger bounded;
        for (std::size_t n = 0; n < waiting; ++n)
            bounded.Sent(
                {2, 0, 0, 0, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
        for (std::size_t n = 0; n < zova::Engine::kMaxPending; ++n)
            bounded.Accepted();
        EXPECT_EQ(bounded.ReplyOf({2, 0, 0, 0, 0, 0}), waiting == zova::Engine::kMaxPending
                                                           ? std::optional<Reply>(Reply::kAccepted)
                                                           : std::nullopt);
        EXPECT_EQ(bounded.ReplyOf({2, 0, 0, 0, 0, 1}), Reply::kAccepted);
    }
}

// The order lines go in and what is held back. The script says what each
// device's request comes to: 'a' accepted, 'r' rejected, '-' nothing.
TEST(CliPlanSend, FreesAnAddressBeforeTakingItAndHoldsBackWhatIsUnsafe) {
    const struct {
        const char* what;
        const char* plan;
        const char* script;  // by device, 1 to 4
        int maxWrongPasswords;
        int interruptAfter;             // sends; -1: never
        std::vector<std::string> sent;  // "line: held back" or "line" in the order sent
    } cases[] = {
        {"chain",
         "02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.50,\n",
         "aaaa",
         3,
         -1,
         {"3", "2"}},
        {"chain whose freeing line fails",
         "02-6B-D4-0A-FF-01,192.168.10.22,\n02-6B-D4-0A-FF-02,192.168.10.50,\n",
         "a-aa",
         3,
         -1,
         {"3",
          "2: line 3 was to free ip '192.168.10.22' first, and the library did not accept "
          "it (no answer)"}},
        // At the limit of rejected passwords the next protected device is held
        // back; one without a password still goes.
        {"password limit",
         "02-6B-D4-0A-FF-03,,x3\n02-6B-D4-0A-FF-04,,x4\n02-6B-D4-0A-FF-01,,x1\n",
         "aarr",
         1,
         -1,
         {"2", "4", "3: " + cli::PasswordLimitText(1)}},
        {"one below the limit",
         "02-6B-D4-0A-FF-03,,x3\n02-6B-D4-0A-FF-04,,x4\n02-6B-D4-0A-FF-01,,x1\n",
         "aarr",
         2,
         -1,
         {"2", "3", "4"}},
        {"interrupted",
         "02-6B-D4-0A-FF-01,,x1\n02-6B-D4-0A-FF-02,,x2\n",
         "aaaa",
         3,
         1,
         {"2", "3: interrupted"}},
    };
    const std::vector<ZOVA_ModuleScanResponseType> fleet = Fleet();
    for (const auto& c : cases) {
        const cli::Plan plan = PlanOf(c.plan);
        const std::vector<cli::LineCheck> checks = cli::CheckPlan(plan, fleet, {});
        cli::ResultLedger ledger;
        std::vector<std::string> order;
        int sends = 0;
        cli::SendHooks hooks;
        hooks.send = [&](std::size_t i) {
            ++sends;
            order.push_back(std::to_string(plan.lines[i].line));
            ledger.Sent(plan.lines[i].mac);
            const char outcome = c.script[plan.lines[i].mac[5] - 1];
            if (outcome == 'a')
                ledger.Accepted();
            else if (outcome == 'r')
                ledger.Rejected(plan.lines[i].mac);
        };
        hooks.interrupted = [&] { return sends == c.interruptAfter; };
        const std::vector<cli::LineSent> sent =
            cli::SendPlan(plan, checks, c.maxWrongPasswords, ledger, hooks);
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_NE(sent[i].sent, !sent[i].heldBack.empty()) << c.what;
            if (!sent[i].heldBack.empty())
                order.push_back(std::to_string(plan.lines[i].line) + ": " + sent[i].heldBack);
        }
        EXPECT_EQ(order, c.sent) << c.what;
    }
}

// What the scan after sending shows, against what was sent: the device of
// Reported() moved to 10.0.0.5 and renamed beta.
TEST(CliReadBack, SaysWhatTheDeviceShowsBesideWhatTheLibrarySaid) {
    const ZOVA_ModuleScanResponseType before = Reported();
    const cli::Prepared moved =
        cli::PrepareChanges(before, ChangesOf("ip=10.0.0.5 hostname=beta"), cli::Source::kPlan);
    ZOVA_ModuleScanResponseType asSent = before, renamedOnly = before, noDhcp = before;
    asSent.dwIpAddr = renamedOnly.dwIpAddr = 0x0A000005;
    std::strcpy(asSent.szHostname, "beta");
    std::strcpy(renamedOnly.szHostname, "bet");
    noDhcp = asSent;
    noDhcp.bDhcpValid = 0;
    cli::Changes newPassword;
    newPassword.changePassword = true;
    const cli::Prepared passwordOnly =
        cli::PrepareChanges(before, newPassword, cli::Source::kCommandLine);
    const struct {
        const configure::DeviceSettings& sent;
        const ZOVA_ModuleScanResponseType* now;
        Reply reply;
        Outcome outcome;
        std::string reason;
    } cases[] = {
        {moved.settings, &asSent, Reply::kNoAnswer, Outcome::kChanged, ""},
        {moved.settings, &noDhcp, Reply::kAccepted, Outcome::kChanged, ""},
        {moved.settings, &before, Reply::kAccepted, Outcome::kNotChanged, ""},
        {moved.settings, &renamedOnly, Reply::kAccepted, Outcome::kChangedOtherwise,
         "sent -> read: hostname beta -> bet"},
        {moved.settings, nullptr, Reply::kAccepted, Outcome::kMayHaveChanged,
         "it did not answer the scan after; scan to check"},
        {passwordOnly.settings, &before, Reply::kAccepted, Outcome::kChanged, ""},
        {passwordOnly.settings, &before, Reply::kWrongPassword, Outcome::kNotChanged, ""},
        {passwordOnly.settings, &before, Reply::kSomeDevice, Outcome::kMayHaveChanged,
         "a new password does not show in a scan"},
    };
    for (const auto& c : cases) {
        const cli::ReadBackResult result = cli::ReadBack(before, c.sent, c.now, c.reply);
        EXPECT_EQ(result.outcome, c.outcome) << c.reason;
        EXPECT_EQ(result.reason, c.reason);
    }

    std::vector<ZOVA_ModuleScanResponseType> answers = Fleet();
    answers[2].dwIpAddr = answers[0].dwIpAddr;
    answers[1].dwIpAddr = answers[3].dwIpAddr = 0;  // waiting for DHCP, both
    EXPECT_EQ(
        cli::SharedAddresses(answers),
        std::vector<std::string>{"ip '192.168.10.21': 02-6B-D4-0A-FF-01 and 02-6B-D4-0A-FF-03"});
}

// Catches a code-page text taken for UTF-8 (or the other way round) and a
// character cut in two when no-break spaces are trimmed.
TEST(CliEncoding, TellsUtf8FromTheCodePageAndTrimsWholeCharacters) {
    const struct {
        std::string text;
        bool utf8;
    } cases[] = {
        {"", true},
        {"Caf\xC3\xA9", true},
        {"Caf\xE9", false},
        {"\xC3", false},              // cut short
        {"\xC0\xAF", false},          // overlong
        {"\xE0\x80\xAF", false},      // overlong
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x8F\xBF\xBF", true},   // the last code point
        {"\xF4\x90\x80\x80", false},  // one past it
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::IsUtf8(c.text), c.utf8) << c.text;
    EXPECT_EQ(cli::TrimBlanks(" \xC2\xA0\t10.0.0.1\xC2\xA0 "), "10.0.0.1");
    EXPECT_EQ(cli::TrimBlanks("\xD0\xA0"), "\xD0\xA0");  // ends in A0, and is no blank
}

// configure's status follows the read-back; apply's records carry both words.
TEST(CliReport, StatusSummaryAndRecords) {
    EXPECT_EQ(cli::ConfigureStatus(Outcome::kChanged, Reply::kNoAnswer), cli::kSuccess);
    EXPECT_EQ(cli::ConfigureStatus(Outcome::kNotChanged, Reply::kWrongPassword),
              cli::kWrongPassword);
    EXPECT_EQ(cli::ConfigureStatus(Outcome::kMayHaveChanged, Reply::kNoAnswer), cli::kNoAnswer);
    EXPECT_EQ(cli::ConfigureStatus(Outcome::kNotChanged, Reply::kAccepted), cli::kNotAsSent);
    EXPECT_EQ(cli::ConfigureStatus(Outcome::kChangedOtherwise, Reply::kSomeDevice),
              cli::kNotAsSent);
    EXPECT_EQ(cli::SummaryText({Outcome::kInvalid, Outcome::kChanged, Outcome::kNotSent,
                                Outcome::kChanged, Outcome::kNotFound}),
              "5 lines: 2 changed, 1 not sent, 1 not found, 1 invalid");
    EXPECT_EQ(cli::SummaryText({}), "0 lines:");

    using cli::Format;
    const cli::LineReport invalid{7, "02-6B-D4-00-00-07", Outcome::kInvalid, std::nullopt,
                                  "hostname 'a,\"b\xE9': Illegal"};
    const cli::LineReport changed{9, "02-6B-D4-00-00-09", Outcome::kChanged, Reply::kAccepted, ""};
    EXPECT_EQ(cli::ReportStart(Format::kJson) +
                  cli::ReportLine(Format::kJson, invalid, true, kLatin1) +
                  cli::ReportLine(Format::kJson, changed, false, kLatin1) +
                  cli::ReportEnd(Format::kJson, false),
              "[\n  {\"line\": 7, \"mac\": \"02-6B-D4-00-00-07\", \"result\": \"invalid\", "
              "\"library\": null, \"reason\": \"hostname 'a,\\\"b\xC3\xA9': Illegal\"},\n"
              "  {\"line\": 9, \"mac\": \"02-6B-D4-00-00-09\", \"result\": \"changed\", "
              "\"library\": \"accepted\", \"reason\": null}\n]\n");
    EXPECT_EQ(cli::ReportStart(Format::kJson) + cli::ReportEnd(Format::kJson, true), "[]\n");
    EXPECT_EQ(
        cli::ReportStart(Format::kCsv) + cli::ReportLine(Format::kCsv, changed, true, kLatin1),
        "\xEF\xBB\xBFline,mac,result,library,reason\r\n9,02-6B-D4-00-00-09,changed,accepted,\r\n");
    const cli::LineReport otherwise{4, "02-6B-D4-00-00-04", Outcome::kChangedOtherwise,
                                    Reply::kSomeDevice, "sent -> read: hostname a -> \x1B[2J"};
    EXPECT_EQ(cli::ReportLine(Format::kTable, otherwise, true, kLatin1),
              "line 4: 02-6B-D4-00-00-04: changed otherwise (library: some device accepted): "
              "sent -> read: hostname a -> \\x1B[2J\n");
}

}  // namespace
