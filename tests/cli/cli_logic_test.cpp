// The console program's plain logic: the command line, CSV both ways, the
// scan output, changes checked with the dialog's rules, plans and outcomes.
#include "cli/Address.h"
#include "cli/Arguments.h"
#include "cli/Changes.h"
#include "cli/Csv.h"
#include "cli/DeviceTable.h"
#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using cli::Command;
using cli::ExitStatus;
using cli::Subcommand;

ZOVA_ModuleScanResponseType Reported() {
    ZOVA_ModuleScanResponseType r{};
    r.bProtocolVersionMajor = 1;
    r.bProtocolVersionMinor = 10;
    std::strcpy(r.szType, "IO, \"8\" ch");
    r.bTypeValid = 1;
    r.bFwVersionMajor = 2;
    r.bFwVersionMinor = 3;
    r.wFwBuild = 45;
    r.bFwVersionValid = 1;
    const std::uint8_t mac[6] = {0x02, 0x6B, 0xD4, 0x00, 0x0A, 0xFF};
    std::memcpy(r.abMacAddr, mac, 6);
    r.bMacAddrValid = 1;
    r.dwIpAddr = 0xC0A80A15;  // 192.168.10.21
    r.bIpAddrValid = 1;
    r.dwSubnetMask = 0xFFFFFF00;
    r.bSubnetMaskValid = 1;
    r.dwGateway = 0xC0A80A01;
    r.bGatewayValid = 1;
    r.bDhcpOn = 0;
    r.bDhcpValid = 1;
    r.bPasswordOn = 1;
    r.bPasswordValid = 1;
    std::strcpy(r.szHostname, "alpha");
    r.bHostnameValid = 1;
    r.dwPrimaryDns = 0x08080808;
    r.bPrimaryDnsValid = 1;
    return r;  // no secondary DNS, no salt
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
    const std::uint8_t mac[6] = {0x02, 0x6B, 0xD4, 0, 0, 0x0A};
    EXPECT_EQ(std::memcmp(c.mac, mac, 6), 0);
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
    ASSERT_EQ(cli::ParseArguments(Split("wink 02:6B:D4:00:00:0A --help"), c, error), cli::kSuccess);
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
         "ip: not a dotted IPv4 address: 10.0.0.256"},
        {"configure 02-6B-D4-00-00-01 --mask 255.255.0", cli::kInvalidInput,
         "mask: not a dotted IPv4 address: 255.255.0"},
        {"configure 02-6B-D4-00-00-01 --dhcp yes", cli::kInvalidInput, "dhcp: on or off, not yes"},
        {"configure 02-6B-D4-00-00-01 --password secret", cli::kUsage,
         "unknown option for configure: --password"},
        {"wink 02-6B-D4-00-00-01 --dry-run", cli::kUsage, "unknown option for wink: --dry-run"},
        {"apply", cli::kUsage, "apply needs one plan file"},
        {"recover --for 0", cli::kUsage, "--for: minutes above 0, at most 10080, not 0"},
    };
    for (const auto& c : cases) {
        Command command;
        std::string error;
        EXPECT_EQ(cli::ParseArguments(Split(c.args), command, error), c.status) << c.args;
        EXPECT_EQ(error, c.error) << c.args;
    }
}

TEST(CliAddress, ReadsOnlyFourOctets) {
    const struct {
        const char* text;
        bool ok;
        std::uint32_t value;
    } cases[] = {{"0.0.0.0", true, 0},
                 {"255.255.255.255", true, 0xFFFFFFFF},
                 {"10.200.1.7", true, 0x0AC80107},
                 {"1.2.3", false, 0},
                 {"1.2.3.4.5", false, 0},
                 {"1.2.3.0400", false, 0},
                 {"1..2.3", false, 0},
                 {" 1.2.3.4", false, 0},
                 {"1.2.3.4 ", false, 0},
                 {"a.b.c.d", false, 0}};
    for (const auto& c : cases) {
        std::uint32_t value = 0;
        EXPECT_EQ(cli::ParseAddress(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(cli::AddressText(value), c.text);
        }
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

TEST(CliChanges, StartFromTheDeviceAndKeepTheDialogsRules) {
    configure::DeviceSettings s;
    std::string error;
    cli::Changes changes;
    changes.ip = 0x0A000005;
    changes.hostname = "beta2";
    changes.dhcp = true;
    ASSERT_TRUE(cli::ApplyChanges(Reported(), changes, s, error)) << error;
    EXPECT_EQ(s.m_dwIpAddress, 0x0A000005u);
    EXPECT_EQ(s.m_dwGateway, 0xC0A80A01u);  // as reported
    EXPECT_STREQ(s.m_szHostname, "beta2");
    EXPECT_EQ(s.m_nDhcp, 0);
    EXPECT_EQ(cli::DescribeChanges(configure::SettingsFromResponse(Reported()), s),
              (std::vector<std::string>{"ip 192.168.10.21 -> 10.0.0.5", "hostname alpha -> beta2",
                                        "dhcp off -> on"}));

    const struct {
        const char* name;
        const char* value;
        const char* error;
    } refused[] = {
        {"hostname", "bad-name", "Illegal hostname! Only a-z, A-Z and 0-9 allowed."},
        {"hostname", "a23456789012345678901234567890", "host name longer than 29 characters"},
        {"ip", "10.0.0.255", "Last digit of IP address can not be 255."},
        {"dns2", "1.1.1.1", "the device does not report its secondary DNS"},
    };
    for (const auto& c : refused) {
        cli::Changes one;
        ASSERT_TRUE(cli::SetChange(one, c.name, c.value, error));
        EXPECT_FALSE(cli::ApplyChanges(Reported(), one, s, error)) << c.value;
        EXPECT_EQ(error, c.error);
    }
    // A name the device reports against the rule must be changed first.
    ZOVA_ModuleScanResponseType dashed = Reported();
    std::strcpy(dashed.szHostname, "sim-01");
    EXPECT_FALSE(cli::ApplyChanges(dashed, cli::Changes{}, s, error));
    cli::Changes renamed;
    renamed.hostname = "sim01";
    EXPECT_TRUE(cli::ApplyChanges(dashed, renamed, s, error));
}

TEST(CliChanges, PasswordsGoWhereTheDialogLetsThem) {
    configure::DeviceSettings s;
    std::string error;
    cli::Changes changes;
    changes.changePassword = true;
    ASSERT_TRUE(cli::ApplyChanges(Reported(), changes, s, error));
    ASSERT_TRUE(cli::SetPasswords(s, "old", "new", error));
    EXPECT_STREQ(s.m_szPassword, "old");
    EXPECT_STREQ(s.m_szNewPassword, "new");
    EXPECT_EQ(s.m_bChangePassword, 1);

    ZOVA_ModuleScanResponseType open = Reported();
    open.bPasswordOn = 0;
    ASSERT_TRUE(cli::ApplyChanges(open, cli::Changes{}, s, error));
    ASSERT_TRUE(cli::SetPasswords(s, "ignored", "ignored too", error));
    EXPECT_STREQ(s.m_szPassword, "");
    EXPECT_STREQ(s.m_szNewPassword, "");
    EXPECT_FALSE(cli::SetPasswords(s, std::string(30, 'p'), "", error));
    EXPECT_EQ(error, "password longer than 29 characters");
}

TEST(CliPlan, ReadsGoodLinesAndMarksBadOnes) {
    const std::string text =
        "MAC, ip ,hostname,password\r\n"
        "02-6B-D4-00-00-01, 10.0.0.1 ,one,pw 1\r\n"
        "02-6B-D4-00-00-02,,\"two\",\r\n"
        "02-6B-D4-00-00-0X,10.0.0.3,three,\r\n"
        "02-6B-D4-00-00-04,10.0.0,four,\r\n"
        "02-6B-D4-00-00-05,10.0.0.5\r\n"
        "02-6b-d4-00-00-01,10.0.0.6,six,\r\n";
    cli::Plan plan;
    std::string error;
    ASSERT_TRUE(cli::ParsePlan(text, plan, error)) << error;
    EXPECT_TRUE(plan.hasPasswordColumn);
    ASSERT_EQ(plan.lines.size(), 6u);
    EXPECT_EQ(plan.lines[0].line, 2);
    EXPECT_EQ(plan.lines[0].changes.ip, 0x0A000001u);
    EXPECT_EQ(plan.lines[0].password, "pw 1");
    EXPECT_EQ(plan.lines[0].error, "");
    EXPECT_FALSE(plan.lines[1].changes.ip.has_value());
    EXPECT_EQ(plan.lines[1].changes.hostname, "two");
    EXPECT_EQ(plan.lines[1].error, "");
    EXPECT_EQ(plan.lines[2].error, "not a MAC address: 02-6B-D4-00-00-0X");
    EXPECT_EQ(plan.lines[3].error, "ip: not a dotted IPv4 address: 10.0.0");
    EXPECT_EQ(plan.lines[4].error, "2 cells where the header has 4");
    EXPECT_EQ(plan.lines[4].macText, "02-6B-D4-00-00-05");
    EXPECT_EQ(plan.lines[5].error, "the same device as line 2");
    EXPECT_EQ(plan.lines[5].line, 7);
}

TEST(CliPlan, RefusesAPlanItCannotRead) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "the plan has no header line"},
        {"ip,hostname\r\n", "line 1: no mac column"},
        {"mac,address\r\n", "line 1: unknown column: address"},
        {"mac,ip,IP\r\n", "line 1: column twice: IP"},
        {"mac\r\n\"02-6B-D4-00-00-01\r\n", "line 2: quote not closed"},
    };
    for (const auto& c : cases) {
        cli::Plan plan;
        std::string error;
        EXPECT_FALSE(cli::ParsePlan(c.text, plan, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(CliOutcome, StatusAndSummary) {
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
}

}  // namespace
