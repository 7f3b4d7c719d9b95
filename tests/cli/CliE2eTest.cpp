// vantrel-cli.exe end to end: run as a script would run it, with the real
// zova.dll against the device simulator on loopback; what it prints is read
// back and compared with the fleet, and the simulator's log shows what
// reached the devices.
// Winsock's header before any that brings in windows.h.
#include <winsock2.h>

#include "cli/Csv.h"
#include "tests/common/ProgramFolder.h"
#include "tests/common/SampleAnswer.h"
#include "tests/common/SimulatorProcess.h"
#include "zovadll/Wire.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using harness::SimulatorProcess;

// Out of MAC order: the scan's output must sort it. Bravo's type would clear
// the terminal; charlie's name holds an e acute in the code page (1252);
// delta's name is longer than a request carries, and it checks a password
// without saying it has one.
const std::string kFleet = R"(
[device]
mac = 02-6B-D4-CC-00-02
type = relay)"
                           "\x1B[2J"
                           R"(
firmware = 2.0.7
protocol = 1.9
ip = 192.168.10.22
mask = 255.255.255.0
gateway = 192.168.10.1
dns1 = 192.168.10.2
dns2 = 192.168.10.3
dhcp = off
hostname = bravo
password-protection = on
password = pumpB!
salt = b4

[device]
mac = 02-6B-D4-CC-00-03
protocol = 2.0
ip = 10.1.1.3
mask = 255.0.0.0
dns1 = 10.1.1.1
dhcp = on
hostname = charlie)"
                           "\xE9"
                           R"(
unreported = type, gateway, dns2, password-protection

[device]
mac = 02-6B-D4-CC-00-01
type = IO module, 8 "ch"
firmware = 1.2.3
protocol = 1.10
ip = 192.168.10.21
mask = 255.255.255.0
gateway = 192.168.10.1
dns1 = 192.168.10.2
dns2 = 192.168.10.3
dhcp = off
hostname = alpha
password-protection = on
password = right

[device]
mac = 02-6B-D4-CC-00-04
type = gateway
ip = 10.1.1.4
mask = 255.0.0.0
hostname = Line4PackagingStationConveyorDrive2
password-protection = on
password = pw
unreported = dhcp, password-protection
)";

// The fleet as CSV and JSON show it (UTF-8), in MAC order; the table shows
// the texts escaped, in the code page.
const std::vector<std::string> kColumns = {"ip",       "mask", "gateway",  "dhcp",
                                           "firmware", "type", "mac",      "hostname",
                                           "dns1",     "dns2", "protocol", "password_protection",
                                           "salted"};
const std::vector<std::vector<std::string>> kRows = {
    {"192.168.10.21", "255.255.255.0", "192.168.10.1", "Off", "1.02.3", "IO module, 8 \"ch\"",
     "02-6B-D4-CC-00-01", "alpha", "192.168.10.2", "192.168.10.3", "1.10", "On", "No"},
    {"192.168.10.22", "255.255.255.0", "192.168.10.1", "Off", "2.00.7", "relay\x1B[2J",
     "02-6B-D4-CC-00-02", "bravo", "192.168.10.2", "192.168.10.3", "1.9", "On", "Yes"},
    {"10.1.1.3", "255.0.0.0", "N/A", "On", "1.00.0", "N/A", "02-6B-D4-CC-00-03", "charlie\xC3\xA9",
     "10.1.1.1", "N/A", "2.0", "N/A", "No"},
    {"10.1.1.4", "255.0.0.0", "0.0.0.0", "N/A", "1.00.0", "gateway", "02-6B-D4-CC-00-04",
     "Line4PackagingStationConveyorDrive2", "0.0.0.0", "0.0.0.0", "2.0", "N/A", "No"},
};

const char* const kMacA = "02-6B-D4-CC-00-01";
const char* const kMacB = "02-6B-D4-CC-00-02";
const char* const kMacC = "02-6B-D4-CC-00-03";
const char* const kMacD = "02-6B-D4-CC-00-04";

struct CliRun {
    DWORD status = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

// Runs vantrel-cli.exe (or program, a path under the test's folder) with
// args, input on its standard input, and waits for it to end.
CliRun RunCli(const std::string& args, const std::string& input = "",
              const std::string& program = "vantrel-cli.exe") {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
    ::CreatePipe(&inRead, &inWrite, &inherit, 0);
    ::CreatePipe(&outRead, &outWrite, &inherit, 0);
    ::CreatePipe(&errRead, &errWrite, &inherit, 0);
    for (HANDLE ours : {inWrite, outRead, errRead})
        ::SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::string command = "\"" + harness::ProgramFolder() + program + "\" " + args;
    PROCESS_INFORMATION process{};
    CliRun run;
    const BOOL created = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    const DWORD startError = created ? 0 : ::GetLastError();
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (created) {
        std::thread errReader([&] { run.err = ReadAll(errRead); });
        DWORD written = 0;
        ::WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        ::CloseHandle(inWrite);
        run.out = ReadAll(outRead);
        errReader.join();
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &run.status);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    } else {
        run.err = "<vantrel-cli did not start: error " + std::to_string(startError) + ">";
        ::CloseHandle(inWrite);
    }
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    return run;
}

// CSV after its byte order mark, which it must have.
std::vector<std::vector<std::string>> CsvRecords(const std::string& text) {
    std::vector<cli::CsvRow> rows;
    std::string error;
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << text;
    EXPECT_TRUE(cli::ParseCsv(text.substr(3), rows, error)) << error;
    std::vector<std::vector<std::string>> records;
    for (const auto& row : rows)
        records.push_back(row.fields);
    return records;
}

// The table's cells, cut at the header's column starts.
std::vector<std::vector<std::string>> TableRecords(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0, end; pos < text.size(); pos = end + 1) {
        end = text.find('\n', pos);
        lines.push_back(text.substr(pos, end - pos));
    }
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < lines[0].size(); ++i)
        if (lines[0][i] != ' ' && (i == 0 || lines[0][i - 1] == ' '))
            starts.push_back(i);
    std::vector<std::vector<std::string>> records;
    for (const std::string& line : lines) {
        std::vector<std::string> cells;
        for (std::size_t c = 0; c < starts.size(); ++c) {
            const std::size_t end = c + 1 < starts.size() ? starts[c + 1] : line.size();
            std::string cell = line.substr(starts[c], end - starts[c]);
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
        }
        records.push_back(cells);
    }
    return records;
}

// A JSON array of objects: each value as the table's text would give it back
// ("N/A" for null, "On"/"Off" for DHCP and protection, "Yes"/"No" for
// salted), so it compares with the same rows. Throws on JSON that is not
// well-formed, UTF-8 included.
std::vector<std::vector<std::string>> JsonRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records = {kColumns};
    for (const nlohmann::json& object : nlohmann::json::parse(text)) {
        EXPECT_EQ(object.size(), kColumns.size()) << object;
        std::vector<std::string> record;
        for (const std::string& column : kColumns) {
            const nlohmann::json& value = object.at(column);
            const bool yes = value.is_boolean() && value.get<bool>();
            record.push_back(value.is_null()      ? "N/A"
                             : value.is_string()  ? value.get<std::string>()
                             : column == "salted" ? (yes ? "Yes" : "No")
                                                  : (yes ? "On" : "Off"));
        }
        records.push_back(record);
    }
    return records;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0, end; pos < text.size(); pos = end + 1) {
        end = text.find('\n', pos);
        lines.push_back(text.substr(pos, end - pos));
    }
    return lines;
}

class CliTest : public ::testing::Test {
protected:
    CliTest() : CliTest(FleetSetup()) {}
    explicit CliTest(const SimulatorProcess::Setup& setup) : m_simulator(setup) {}
    static SimulatorProcess::Setup FleetSetup() {
        SimulatorProcess::Setup setup;
        setup.fleetText = kFleet;
        return setup;
    }

    void SetUp() override {
        ASSERT_TRUE(m_simulator.Running()) << m_simulator.Error();
        ::SetEnvironmentVariableA("ZOVA_TARGET", m_simulator.Target().c_str());
    }
    void TearDown() override {
        for (const std::string& plan : m_plans)
            ::DeleteFileA(plan.c_str());
    }

    // Writes text to a plan file that goes with the test; its path, quoted.
    std::string Plan(const char* name, const std::string& text) {
        char folder[MAX_PATH];
        ::GetTempPathA(sizeof folder, folder);
        m_plans.push_back(std::string(folder) + "vantrel-cli-" + name + "-" +
                          std::to_string(::GetCurrentProcessId()) + ".csv");
        std::ofstream(m_plans.back(), std::ios::binary) << text;
        return "\"" + m_plans.back() + "\"";
    }

    // Requests, not copies: the library sends each five times, one id.
    std::size_t ConfigureRequests() {
        std::set<std::uint64_t> ids;
        for (const std::string& line : m_simulator.LogLines()) {
            const nlohmann::json entry = nlohmann::json::parse(line);
            if (entry.at("type") == "configure")
                ids.insert(entry.at("id").get<std::uint64_t>());
        }
        return ids.size();
    }

    SimulatorProcess m_simulator;
    std::vector<std::string> m_plans;
};

// Each format shows the fleet, given out of MAC order, in MAC order (1 s:
// the simulator on loopback answers at once), the table with the device
// texts escaped and CSV and JSON in UTF-8. The CSV is a plan that apply
// takes as it is: every line "no change", the e acute included.
TEST_F(CliTest, ScanShowsTheFleetAndItsCsvAppliesAsNoChange) {
    std::vector<std::vector<std::string>> expected = {kColumns};
    expected.insert(expected.end(), kRows.begin(), kRows.end());
    std::vector<std::vector<std::string>> inTable = expected;
    inTable[2][5] = "relay\\x1B[2J";
    inTable[3][7] = "charlie\xE9";
    const CliRun table = RunCli("scan --wait 1");
    EXPECT_EQ(table.status, 0u) << table.err;
    EXPECT_EQ(TableRecords(table.out), inTable) << table.out;
    const CliRun json = RunCli("scan --wait 1 --format json");
    EXPECT_EQ(json.status, 0u) << json.err;
    EXPECT_EQ(JsonRecords(json.out), expected) << json.out;
    const CliRun csv = RunCli("scan --wait 1 --format csv");
    ASSERT_EQ(csv.status, 0u) << csv.err;
    ASSERT_EQ(CsvRecords(csv.out), expected) << csv.out;

    const CliRun run = RunCli("apply --dry-run " + Plan("scan", csv.out));
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, std::string("line 2: ") + kMacA + ": no change\nline 3: " + kMacB +
                           ": no change\nline 4: " + kMacC + ": no change\nline 5: " + kMacD +
                           ": no change\n4 lines: 4 no change\n");
}

TEST_F(CliTest, ConfigureUnsaltedChangesWhatIsAskedAndKeepsTheRest) {
    const CliRun run = RunCli(std::string("configure ") + kMacA +
                                  " --ip 192.168.10.31 --hostname alphaNew --dhcp on --wait 0.5",
                              "right\r\n");
    ASSERT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, std::string(kMacA) + ": changed (library: accepted)\n");
    // What reached the device: the changes, the rest as reported, the
    // password without its line end.
    EXPECT_TRUE(m_simulator.WaitForLog(
        {"\"configure\"", kMacA, "accepted", "\"password\":\"right\"", "\"ip\":\"192.168.10.31\"",
         "\"mask\":\"255.255.255.0\"", "\"gateway\":\"192.168.10.1\"", "\"dhcp\":true",
         "\"hostname\":\"alphaNew\"", "\"dns1\":\"192.168.10.2\"", "\"dns2\":\"192.168.10.3\""}))
        << m_simulator.LogText();
}

TEST_F(CliTest, ConfigureSaltedWithAPasswordChange) {
    CliRun run =
        RunCli(std::string("configure ") + kMacB + " --change-password", "pumpB!\nfresh1\n");
    ASSERT_EQ(run.status, 0u) << run.err;
    // The old password no longer holds; the new one does, and the proof
    // never carries it as typed.
    run = RunCli(std::string("configure ") + kMacB + " --hostname bravo2", "pumpB!\n");
    EXPECT_EQ(run.status, 5u) << run.err;
    EXPECT_EQ(run.err,
              std::string("vantrel-cli: ") + kMacB + ": not changed (library: wrong password)\n");
    run = RunCli(std::string("configure ") + kMacB + " --hostname bravo2", "fresh1\n");
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_TRUE(m_simulator.WaitForLog({"\"configure\"", kMacB, "accepted", "bravo2"}));
    EXPECT_EQ(m_simulator.LogText().find("fresh1"), std::string::npos);
    EXPECT_EQ(m_simulator.LogText().find("pumpB!"), std::string::npos);
}

// One case per status and per way a password can be missing or a change
// refused; only the wrong password and delta's rename reach a device, delta's
// with the password it does not say it checks.
TEST_F(CliTest, ConfigureEndsEachWayWithItsStatus) {
    const struct {
        std::string args;
        const char* input;
        DWORD status;
        std::string out;
        std::string error;
    } cases[] = {
        {std::string("configure ") + kMacA + " --hostname alpha2", "wrong \n", 5, "",
         "vantrel-cli: 02-6B-D4-CC-00-01: not changed (library: wrong password): the password "
         "ends in a blank, which `echo pw |` at the Windows command prompt adds: write `echo "
         "pw|`\n"},
        {"configure 02-6B-D4-EE-EE-EE --wait 0.2", "", 4, "",
         "vantrel-cli: device 02-6B-D4-EE-EE-EE not found: no answer to the scan within 0.2 s; "
         "check that it is on and connected, or give a longer --wait\n"},
        {std::string("configure ") + kMacA + " --hostname bad_name", "right\n", 3, "",
         "vantrel-cli: hostname 'bad_name': Illegal hostname! Only a-z, A-Z and 0-9 allowed.\n"},
        {std::string("configure ") + kMacD + " --dhcp on", "", 3, "",
         "vantrel-cli: dhcp 'on': the device does not report DHCP\n"},
        {std::string("configure ") + kMacD + " --dns2 10.1.1.53", "", 3, "",
         "vantrel-cli: current host name 'Line4PackagingStationConveyorDrive2' is not allowed "
         "(longer than 29 characters, which a request would cut); give --hostname\n"},
        // Closed input where a password is needed, and one line where
        // --change-password needs two.
        {std::string("configure ") + kMacA + " --hostname alpha2", "", 3, "",
         "vantrel-cli: no password given for 02-6B-D4-CC-00-01; nothing was sent\n"},
        {std::string("configure ") + kMacB + " --change-password", "pumpB!\n", 3, "",
         "vantrel-cli: no new password given for 02-6B-D4-CC-00-02; nothing was sent\n"},
        {std::string("configure ") + kMacA + " --ip 192.168.10.21 --hostname alpha", "", 0,
         std::string(kMacA) + ": no change\n", ""},
        {std::string("configure ") + kMacA + " --colour red", "", 2, "",
         "vantrel-cli: unknown option for configure: --colour\n"
         "vantrel-cli --help tells how to use it.\n"},
        {std::string("configure ") + kMacD + " --hostname delta", "pw\n", 0,
         std::string(kMacD) + ": changed (library: accepted)\n", ""},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args, c.input);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, c.error) << c.args;
        EXPECT_EQ(run.out, c.out) << c.args;
    }
    EXPECT_TRUE(m_simulator.WaitForLog({"\"configure\"", kMacD, "accepted", "\"password\":\"pw\""}))
        << m_simulator.LogText();
    ::Sleep(100);  // a late datagram would show in the log
    EXPECT_EQ(ConfigureRequests(), 2u) << m_simulator.LogText();
}

// No simulator: a target the library cannot read, and one where nothing answers.
TEST(CliTarget, ScanSaysWhatIsWrongOrThatNothingAnswered) {
    ::SetEnvironmentVariableA("ZOVA_TARGET", "localhost:9");
    CliRun run = RunCli("scan --wait 0");
    EXPECT_EQ(run.status, 7u);
    EXPECT_EQ(run.err,
              "vantrel-cli: ZOVA_TARGET 'localhost:9': 'localhost' is not a dotted IPv4 address\n");
    ::SetEnvironmentVariableA("ZOVA_TARGET", "127.0.0.1:9");
    run = RunCli("scan --wait 0 --format csv");
    EXPECT_EQ(run.status, 4u);
    EXPECT_EQ(run.err, "vantrel-cli: no device answered\n");
    EXPECT_EQ(CsvRecords(run.out), std::vector<std::vector<std::string>>{kColumns});
}

TEST_F(CliTest, RefusesALibraryThatIsNot11x) {
    // The program beside a zova.dll whose version resource reads 1.2.x.
    const CliRun run = RunCli("scan --wait 0.2", "", "cli-wrong-library\\vantrel-cli.exe");
    EXPECT_EQ(run.status, 8u);
    EXPECT_EQ(run.err, "Incorrect DLL version\n");
    EXPECT_EQ(run.out, "");
    ::Sleep(200);
    EXPECT_EQ(m_simulator.LogText(), "");
}

TEST_F(CliTest, WinkFollowsTheWindowsRuleAndWaitsForTheLastCopy) {
    CliRun run = RunCli(std::string("wink ") + kMacA);
    EXPECT_EQ(run.status, 0u) << run.err;
    // Every copy left before the program ended: the wink and its four repeats.
    int copies = 0;
    for (const std::string& line : m_simulator.LogLines())
        copies += line.find("\"wink\"") != std::string::npos;
    EXPECT_EQ(copies, 5) << m_simulator.LogText();

    run = RunCli(std::string("wink ") + kMacB);
    EXPECT_EQ(run.status, 9u);
    EXPECT_EQ(run.err, "Device does not support wink.\n");
    for (const std::string& line : m_simulator.LogLines())
        EXPECT_EQ(line.find(std::string("\"wink\"") + ",\"id\"") != std::string::npos &&
                      line.find(kMacB) != std::string::npos,
                  false)
            << line;
}

// A device on loopback that answers scans and never a configure request;
// with firstCopyOnly, only the first copy of each scan, as if the way back
// lost the others.
class SilentDevice {
public:
    explicit SilentDevice(const ZOVA_ModuleScanResponseType& answer, bool firstCopyOnly = false)
        : m_answer(answer), m_firstCopyOnly(firstCopyOnly) {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_target = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        const DWORD slice = 50;
        ::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&slice),
                     sizeof slice);
        m_thread = std::thread([this] { Serve(); });
    }
    ~SilentDevice() {
        m_stop = true;
        m_thread.join();
        ::closesocket(m_socket);
        ::WSACleanup();
    }
    const std::string& Target() const { return m_target; }
    // Requests, not their copies.
    std::size_t ConfigureRequests() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_configureIds.size();
    }

private:
    void Serve() {
        while (!m_stop) {
            std::uint8_t buffer[zova::wire::kMaxDatagram];
            sockaddr_in from{};
            int fromLength = sizeof from;
            const int got = ::recvfrom(m_socket, reinterpret_cast<char*>(buffer), sizeof buffer, 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (got <= 0)
                continue;
            const auto header = zova::wire::DecodeHeader(buffer, static_cast<std::size_t>(got));
            if (!header)
                continue;
            if (header->type == zova::wire::MessageType::ConfigureRequest) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_configureIds.insert(header->id);
            }
            if (header->type != zova::wire::MessageType::ScanRequest ||
                (m_firstCopyOnly && !m_scansAnswered.insert(header->id).second))
                continue;
            const zova::wire::Datagram answer = zova::wire::EncodeScanAnswer(header->id, m_answer);
            ::sendto(m_socket, reinterpret_cast<const char*>(answer.data()),
                     static_cast<int>(answer.size()), 0, reinterpret_cast<sockaddr*>(&from),
                     fromLength);
        }
    }

    ZOVA_ModuleScanResponseType m_answer;
    bool m_firstCopyOnly;
    std::set<std::uint32_t> m_scansAnswered;  // serving thread only
    SOCKET m_socket = INVALID_SOCKET;
    std::string m_target;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::set<std::uint32_t> m_configureIds;
    std::thread m_thread;
};

TEST(CliNoAnswer, ConfigureThatGetsNoResultEndsWithItsStatus) {
    SilentDevice device(harness::SampleAnswer::Bare({0x02, 0x6B, 0xD4, 0xDD, 0x00, 0x01})
                            .Protocol(2, 0)
                            .Ip(0x0A000001));
    ::SetEnvironmentVariableA("ZOVA_TARGET", device.Target().c_str());

    const CliRun run = RunCli("configure 02-6B-D4-DD-00-01 --ip 10.0.0.2 --wait 0.5");
    EXPECT_EQ(run.status, 6u) << run.err;
    EXPECT_EQ(run.err, "vantrel-cli: 02-6B-D4-DD-00-01: not changed (library: no answer)\n");
    EXPECT_EQ(device.ConfigureRequests(), 1u);
}

TEST(CliAnswersLost, ScanListsWhatItHeardAndSaysDevicesMayBeMissing) {
    SilentDevice device(harness::SampleAnswer::Bare({0x02, 0x6B, 0xD4, 0xDD, 0x00, 0x02})
                            .Protocol(2, 0)
                            .Ip(0x0A000002),
                        true);
    ::SetEnvironmentVariableA("ZOVA_TARGET", device.Target().c_str());

    const CliRun run = RunCli("scan --wait 3 --format csv");
    EXPECT_EQ(run.status, 11u) << run.err;
    EXPECT_EQ(run.err,
              "vantrel-cli: answers were lost on the way, so devices may be missing; scan again\n");
    EXPECT_NE(run.out.find("02-6B-D4-DD-00-02"), std::string::npos) << run.out;
}

// Plans as a spreadsheet saves them (BOM, ';', CRLF, a comment, a trailing
// empty row): passwords from their column, an empty cell or no column
// falling back to one password read once, and closed input sending nothing.
TEST_F(CliTest, ApplyTakesASpreadsheetsPlanAndItsPasswords) {
    const std::string column =
        Plan("column", std::string("\xEF\xBB\xBFmac;hostname;password\r\n# from the sheet\r\n") +
                           kMacA + ";alpha2;right\r\n" + kMacB + "; bravo2 ;wrong\r\n;;\r\n");
    CliRun run = RunCli("apply --format csv " + column);
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(run.out, std::string("\xEF\xBB\xBFline,mac,result,library,reason\r\n3,") + kMacA +
                           ",changed,accepted,\r\n4," + kMacB + ",not changed,wrong password,\r\n");
    EXPECT_EQ(run.err.substr(run.err.find("2 lines")), "2 lines: 1 changed, 1 not changed\n");

    const std::string shared =
        Plan("shared", std::string("mac;hostname;password\r\n") + kMacC + ";charlie2;\r\n" + kMacA +
                           ";alpha3;\r\n" + kMacB + ";bravo;\r\n");
    run = RunCli("apply " + shared, "");
    EXPECT_EQ(run.status, 3u) << run.err;
    EXPECT_EQ(run.err, std::string("vantrel-cli: no password given for line 3: ") + kMacA +
                           " (1 device needs one); nothing was sent\n");
    EXPECT_EQ(ConfigureRequests(), 2u);  // the first plan's

    run = RunCli("apply " + shared, "right\n");
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, std::string("line 2: ") + kMacC + ": changed (library: accepted)\nline 3: " +
                           kMacA + ": changed (library: accepted)\nline 4: " + kMacB +
                           ": no change\n3 lines: 2 changed, 1 no change\n");
}

// Devices that test what apply and configure say and leave behind: a holder
// of an address that answers after the others, a device with a password,
// one whose results come after the time-out, one whose results are lost,
// and twins.
class CliSafetyTest : public CliTest {
protected:
    CliSafetyTest() : CliTest(Fleet()) {}
    static SimulatorProcess::Setup Fleet() {
        SimulatorProcess::Setup setup;
        const auto device = [](const char* last, const char* ip, const char* more) {
            return std::string("[device]\nmac = 02-6B-D4-EE-00-") + last + "\nip = 10.0.0." + ip +
                   "\nmask = 255.255.255.0\nhostname = dev" + ip + "\n" + more + "\n";
        };
        setup.fleetText = device("01", "1", "") +
                          device("02", "2", "password-protection = on\npassword = right") +
                          device("03", "3", "answer-delay-ms = 300") +
                          device("04", "4", "result-delay-ms = 3500") +
                          device("05", "5", "lost = results") + device("06", "6", "") +
                          device("06", "7", "");
        return setup;
    }
};

TEST_F(CliSafetyTest, NoAddressTwiceNoResultCountedForAnotherNoTwinConfigured) {
    // The holder of .3 answers after .1 has: the scan goes on and hears it.
    CliRun run =
        RunCli("apply --dry-run " + Plan("holder", "mac,ip\n02-6B-D4-EE-00-01,10.0.0.3\n"));
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(run.out,
              "line 2: 02-6B-D4-EE-00-01: invalid: ip '10.0.0.3': 02-6B-D4-EE-00-03 has it and "
              "keeps it\n1 lines: 1 invalid\n");

    // A chain whose freeing line fails: the line that would take .2 stays unsent.
    run = RunCli("apply " + Plan("chain",
                                 "mac,ip,password\n02-6B-D4-EE-00-01,10.0.0.2,\n"
                                 "02-6B-D4-EE-00-02,10.0.0.9,wrong\n"));
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(run.out,
              "line 2: 02-6B-D4-EE-00-01: not sent: line 3 was to free ip '10.0.0.2' first, and "
              "the library did not accept it (wrong password)\n"
              "line 3: 02-6B-D4-EE-00-02: not changed (library: wrong password)\n"
              "2 lines: 1 not changed, 1 not sent\n");
    EXPECT_EQ(ConfigureRequests(), 1u) << m_simulator.LogText();

    // The late result arrives while the next request waits for its own, which
    // never comes: it is not counted for that one. Both devices changed.
    run = RunCli("apply " + Plan("late",
                                 "mac,hostname\n02-6B-D4-EE-00-04,late\n"
                                 "02-6B-D4-EE-00-05,lost\n"));
    EXPECT_EQ(run.status, 0u) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0].rfind("line 2: 02-6B-D4-EE-00-04: changed (library: ", 0), 0u) << run.out;
    EXPECT_TRUE(lines[1] == "line 3: 02-6B-D4-EE-00-05: changed (library: some device accepted)" ||
                lines[1] == "line 3: 02-6B-D4-EE-00-05: changed (library: no answer)")
        << run.out;

    run = RunCli("scan --wait 0.5");
    EXPECT_EQ(run.err,
              "vantrel-cli: warning: two devices answer with 02-6B-D4-EE-00-06; "
              "configure and apply refuse it\n");
    run = RunCli("configure 02-6B-D4-EE-00-06 --hostname one");
    EXPECT_EQ(run.status, 3u) << run.err;
    EXPECT_EQ(run.err,
              "vantrel-cli: mac '02-6B-D4-EE-00-06': two devices answer with this MAC; "
              "give each its own first\n");
    EXPECT_EQ(ConfigureRequests(), 3u) << m_simulator.LogText();
}

// No simulator: the texts themselves are checked natively against docs/cli.md.
TEST(CliHelp, HelpAndVersionArePrinted) {
    CliRun run = RunCli("--help");
    EXPECT_EQ(run.status, 0u);
    EXPECT_EQ(run.out.rfind("Usage: vantrel-cli SUBCOMMAND", 0), 0u) << run.out;
    run = RunCli("--version");
    EXPECT_EQ(run.status, 0u);
    EXPECT_EQ(run.out.rfind("vantrel-cli ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nzova.dll 1.1."), std::string::npos) << run.out;
}

// A plan of 50 generated devices (02-6B-D4-00-00-01 to -32 at 10.0.0.1 to
// .50, host names "sim-…", which the rules refuse until changed), some lines
// bad, and one that takes the address the last line frees.
class CliPlanTest : public CliTest {
protected:
    CliPlanTest() : CliTest(Generated()) {}
    static SimulatorProcess::Setup Generated() {
        SimulatorProcess::Setup setup;
        setup.generate = 50;
        return setup;
    }

    std::string WritePlan() {
        std::string text = "mac,ip,hostname,dhcp\r\n";
        for (int n = 1; n <= 50; ++n) {
            char mac[18];
            std::snprintf(mac, sizeof mac, "02-6B-D4-00-00-%02X", n);
            std::string line = std::string(mac) + ",10.9.0." + std::to_string(n) + ",dev" +
                               std::to_string(n) + ",off";
            if (n == 3)
                line = std::string(mac) + ",,,";  // nothing to change
            if (n == 21)
                line = std::string(mac) + ",10.9.0.21,,off";  // keeps "sim-000015"
            if (n == 34)
                line = "02-6B-D4-00-EE-EE,10.9.0.34,dev34,off";
            if (n == 42)
                line = std::string(mac) + ",10.9.0.42";
            if (n == 49)
                line = std::string(mac) + ",10.0.0.50,dev49,off";
            text += line + "\r\n";
        }
        return Plan("plan", text);
    }

    // Line numbers: the header is line 1, device n on line n + 1.
    const std::map<int, std::string> m_others = {
        {4, "line 4: 02-6B-D4-00-00-03: no change"},
        {22,
         "line 22: 02-6B-D4-00-00-15: invalid: current host name 'sim-000015' is not allowed "
         "(Illegal hostname! Only a-z, A-Z and 0-9 allowed.); give a new one in the hostname "
         "column"},
        {35,
         "line 35: 02-6B-D4-00-EE-EE: not found: no answer to the scan within 1 s; check that "
         "it is on and connected, or give a longer --wait"},
        {43, "line 43: 02-6B-D4-00-00-2A: invalid: 2 cells where the header has 4"},
    };
};

// The dry run and then the apply of the same plan, each with a short scan
// (the plan moves addresses, so it waits to the end).
TEST_F(CliPlanTest, DryRunSendsNothingThenApplyGoesOnPastBadLines) {
    const std::string plan = WritePlan();
    CliRun run = RunCli("apply --dry-run --wait 1 " + plan);
    EXPECT_EQ(run.status, 1u) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 51u) << run.out;
    EXPECT_EQ(lines[0],
              "line 2: 02-6B-D4-00-00-01: would set: ip 10.0.0.1 -> 10.9.0.1, hostname sim-000001 "
              "-> dev1");
    for (const auto& other : m_others)
        EXPECT_EQ(lines[other.first - 2], other.second);
    EXPECT_EQ(lines[48],
              "line 50: 02-6B-D4-00-00-31: would set: ip 10.0.0.49 -> 10.0.0.50, hostname "
              "sim-000031 -> dev49");
    EXPECT_EQ(lines[50], "50 lines: 1 not found, 2 invalid, 46 would apply, 1 no change");
    ::Sleep(100);  // a late datagram would show in the log
    EXPECT_EQ(ConfigureRequests(), 0u) << m_simulator.LogText();

    run = RunCli("apply --wait 1 " + plan);
    EXPECT_EQ(run.status, 1u) << run.err;
    lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 51u) << run.out;
    for (int n = 1; n <= 50; ++n) {
        const int line = n + 1;
        char mac[18];
        std::snprintf(mac, sizeof mac, "02-6B-D4-00-00-%02X", n);
        const auto other = m_others.find(line);
        if (other != m_others.end()) {
            EXPECT_EQ(lines[n - 1], other->second);
            continue;
        }
        EXPECT_EQ(lines[n - 1],
                  "line " + std::to_string(line) + ": " + mac + ": changed (library: accepted)");
        // The device got its own line's settings.
        const std::string ip = n == 49 ? "10.0.0.50" : "10.9.0." + std::to_string(n);
        EXPECT_TRUE(
            m_simulator.WaitForLog({"\"configure\"", mac, "accepted", "\"ip\":\"" + ip + "\""}))
            << mac;
    }
    EXPECT_EQ(lines[50], "50 lines: 46 changed, 1 not found, 2 invalid, 1 no change");
    EXPECT_EQ(ConfigureRequests(), 46u);
    // A progress line per device sent, on standard error; the line that
    // frees 10.0.0.50 before the one that takes it.
    EXPECT_NE(run.err.find("[45/46] line 51: 02-6B-D4-00-00-32\n[46/46] line 50: "
                           "02-6B-D4-00-00-31\n"),
              std::string::npos)
        << run.err;
}

}  // namespace
