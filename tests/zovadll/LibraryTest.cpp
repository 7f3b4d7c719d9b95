// The real zova.dll against the real simulator over UDP on loopback.
// Winsock first: it must precede windows.h.
#include <winsock2.h>

#include "configure/PasswordDigest.h"
#include "md5/Md5.h"
#include "tests/common/SampleAnswer.h"
#include "tests/common/SampleRequest.h"
#include "tests/common/ZovaSession.h"
#include "zovadll/Wire.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using harness::SampleAnswer;
using harness::ZovaSession;

const char* const kFleet = R"(
# A: reports everything
[device]
mac = 02-6B-D4-AA-00-01
type = IO-Link master 8-port
firmware = 2.4.112
protocol = 2.0
ip = 192.168.10.21
mask = 255.255.255.0
gateway = 192.168.10.1
dns1 = 192.168.10.1
dns2 = 192.168.10.2
dhcp = on
hostname = press-line-1
password-protection = on
password = press1

# B: has settings but reports none of them
[device]
mac = 02-6B-D4-AA-00-02
protocol = 1.9
type = hidden
ip = 10.0.0.2
mask = 255.0.0.0
dhcp = on
hostname = hidden
password-protection = on
unreported = type, firmware, ip, mask, gateway, dhcp, password-protection, hostname, dns1, dns2

# C: configured with the right password
[device]
mac = 02-6B-D4-AA-00-03
ip = 192.168.10.23
mask = 255.255.255.0
gateway = 192.168.10.1
hostname = conveyor-io
password-protection = on
password = right

# D: configured with a wrong password
[device]
mac = 02-6B-D4-AA-00-04
ip = 192.168.10.24
mask = 255.255.255.0
hostname = tank-levels
password-protection = on
password = right

# E: winks
[device]
mac = 02-6B-D4-AA-00-05
protocol = 1.10

# F: keeps only a salted digest of its password
[device]
mac = 02-6B-D4-AA-00-06
hostname = pump-station-b
password-protection = on
password = pumpB!
salt = b4
)";

constexpr std::size_t kDevices = 6;
const base::Mac kMacA = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x01};
const base::Mac kMacB = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x02};
const base::Mac kMacC = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x03};
const base::Mac kMacD = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x04};
const base::Mac kMacE = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x05};
const base::Mac kMacF = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x06};

std::string Md5hex(const std::string& text) {
    MD5 md5;
    md5.update(text.data(), static_cast<std::uint32_t>(text.size()));
    md5.finalize();
    return md5.hex_digest();
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZovaSession& session = ZovaSession::Get({kFleet, 0, 50});
        ASSERT_TRUE(session.Simulator().Running()) << session.Simulator().Error();
        ASSERT_EQ(session.Started(), 1);
        zova = &session;
    }
    ZovaSession* zova = nullptr;
};

// Names every field in which two records differ.
std::string DifferingFields(const ZOVA_ModuleScanResponseType& expected,
                            const ZOVA_ModuleScanResponseType& actual) {
    using R = ZOVA_ModuleScanResponseType;
    struct Field {
        const char* name;
        std::size_t offset, size;
    };
    static const Field fields[] = {
        {"protocol", offsetof(R, bProtocolVersionMajor), 2},
        {"szType", offsetof(R, szType), 129},
        {"firmware", offsetof(R, bFwVersionMajor), 5},
        {"abMacAddr", offsetof(R, abMacAddr), 7},
        {"dwIpAddr", offsetof(R, dwIpAddr), 5},
        {"dwSubnetMask", offsetof(R, dwSubnetMask), 5},
        {"dwGateway", offsetof(R, dwGateway), 5},
        {"dhcp", offsetof(R, bDhcpOn), 2},
        {"password", offsetof(R, bPasswordOn), 2},
        {"szHostname", offsetof(R, szHostname), 129},
        {"dwPrimaryDns", offsetof(R, dwPrimaryDns), 5},
        {"dwSecondaryDns", offsetof(R, dwSecondaryDns), 5},
        {"szPasswordSalt", offsetof(R, szPasswordSalt), 36},
    };
    std::string differing;
    for (const Field& f : fields) {
        if (std::memcmp(reinterpret_cast<const char*>(&expected) + f.offset,
                        reinterpret_cast<const char*>(&actual) + f.offset, f.size) != 0)
            differing += std::string(f.name) + " ";
    }
    return differing;
}

TEST_F(LibraryTest, ScanReturnsEveryDeviceWithWhatItReports) {
    std::map<base::Mac, int> answers;
    const auto devices = zova->Scan(kDevices, &answers);
    ASSERT_EQ(devices.size(), kDevices);
    for (const auto& [mac, count] : answers)
        EXPECT_GE(count, 1);

    // Device A of the fleet above, as its lines give it.
    const ZOVA_ModuleScanResponseType a = SampleAnswer::Bare(kMacA)
                                              .Protocol(2, 0)
                                              .Type("IO-Link master 8-port")
                                              .Firmware(2, 4, 112)
                                              .Ip(0xC0A80A15)
                                              .Mask(0xFFFFFF00)
                                              .Gateway(0xC0A80A01)
                                              .Dhcp(1)
                                              .PasswordOn(1)
                                              .Hostname("press-line-1")
                                              .PrimaryDns(0xC0A80A01)
                                              .SecondaryDns(0xC0A80A02);
    EXPECT_EQ(DifferingFields(a, devices.at(kMacA)), "");

    const ZOVA_ModuleScanResponseType b = SampleAnswer::Bare(kMacB).Protocol(1, 9);
    EXPECT_EQ(DifferingFields(b, devices.at(kMacB)), "") << "unreported fields must be invalid";

    EXPECT_EQ(devices.at(kMacE).bProtocolVersionMinor, 10);
    const ZOVA_ModuleScanResponseType& f = devices.at(kMacF);
    EXPECT_EQ(f.bPasswordSaltValid, 1);
    const std::string salt = f.szPasswordSalt;
    EXPECT_EQ(salt.size(), 34u);
    EXPECT_EQ(salt.substr(0, 2), "b4");
    EXPECT_NE(salt, "b4" + Md5hex("b4pumpB!")) << "a challenge, not the stored digest";
}

TEST_F(LibraryTest, SaltedPasswordTravelsAsProofAndChangesAsDigest) {
    const std::string salt = configure::SaltText(zova->Scan(kDevices).at(kMacF));
    const int rescans = zova->Count(ZOVA_NOTIFY_RESCAN);
    const int rejections = zova->Count(ZOVA_NOTIFY_INVALID_PASSWORD);
    int draws = 0;
    const std::string salted = configure::SaltedNewPassword("newpass", [&] { return 7 + draws++; });
    ZOVA_ConfigureRequestType r =
        harness::SampleRequest(kMacF, configure::PasswordProof("pumpB!", salt).c_str());
    r.bChangePassword = 1;
    std::strcpy(r.szNewPassword, salted.c_str());
    std::strcpy(r.szHostname, "pump-station-c");
    ZOVA_SendConfigure(&r);
    ASSERT_TRUE(zova->WaitForCount(ZOVA_NOTIFY_RESCAN, rescans + 1)) << zova->Simulator().LogText();
    EXPECT_TRUE(zova->Simulator().WaitForLog(
        {"\"mac\":\"02-6B-D4-AA-00-06\"", "\"outcome\":\"accepted\"", "\"change_password\":true",
         "\"new_password\":\"" + salted + "\""}))
        << zova->Simulator().LogText();

    const std::string newSalt =
        configure::SaltText(zova->AnswerShowing(kMacF, [&](const ZOVA_ModuleScanResponseType& a) {
            return configure::SaltText(a).substr(0, 2) == salted.substr(0, 2);
        }));
    EXPECT_EQ(newSalt.substr(0, 2), salted.substr(0, 2)) << "the device offers its new salt";

    r = harness::SampleRequest(kMacF, configure::PasswordProof("pumpB!", newSalt).c_str());
    ZOVA_SendConfigure(&r);
    ASSERT_TRUE(zova->WaitForCount(ZOVA_NOTIFY_INVALID_PASSWORD, rejections + 1));
    unsigned char mac[6];
    ASSERT_EQ(ZOVA_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(0, std::memcmp(mac, kMacF.data(), 6));
    ZOVA_RemoveFirstInvPswdMacId();

    r = harness::SampleRequest(kMacF, configure::PasswordProof("newpass", newSalt).c_str());
    std::strcpy(r.szHostname, "pump-station-d");
    ZOVA_SendConfigure(&r);
    ASSERT_TRUE(zova->WaitForCount(ZOVA_NOTIFY_RESCAN, rescans + 2));
    EXPECT_STREQ(zova->AnswerShowing(kMacF,
                                     [](const ZOVA_ModuleScanResponseType& a) {
                                         return std::string(a.szHostname) == "pump-station-d";
                                     })
                     .szHostname,
                 "pump-station-d");
}

// The ids of the scan requests (copies included) that reached the devices.
std::vector<std::uint32_t> ScanIdsLogged(const harness::SimulatorProcess& simulator) {
    std::vector<std::uint32_t> ids;
    for (const std::string& line : simulator.LogLines()) {
        const std::size_t at = line.find("\"id\":");
        if (line.find("\"type\":\"scan\"") != std::string::npos && at != std::string::npos)
            ids.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(at + 5))));
    }
    return ids;
}

// Ids that follow each other would let a host guess the id of a configure
// request and answer it first.
TEST_F(LibraryTest, RequestIdsCannotBeForeseen) {
    const auto scanIds = [&] {
        const std::vector<std::uint32_t> logged = ScanIdsLogged(zova->Simulator());
        return std::set<std::uint32_t>(logged.begin(), logged.end());
    };
    const std::size_t before = scanIds().size();
    constexpr int kScans = 6;
    for (int i = 0; i < kScans; ++i)
        ASSERT_EQ(ZOVA_SendModuleScan(), 1);
    ASSERT_TRUE(harness::WaitUntil([&] { return scanIds().size() >= before + kScans; },
                                   std::chrono::seconds(10)));
    const std::set<std::uint32_t> ids = scanIds();
    for (std::uint32_t id : ids)
        EXPECT_EQ(ids.count(id + 1), 0u) << id << " is followed by the next number";
}

TEST_F(LibraryTest, ConfigureWithTheRightPasswordChangesTheDeviceAndRaisesRescan) {
    const int rescans = zova->Count(ZOVA_NOTIFY_RESCAN);
    ZOVA_ConfigureRequestType r = harness::SampleRequest(kMacC, "right");
    r.dwIpAddr = 0xC0A81405;  // 192.168.20.5
    r.dwSubnetMask = 0xFFFF0000;
    r.dwGateway = 0xC0A81401;
    r.bDhcpOn = 0;
    std::strcpy(r.szHostname, "conveyor-io-new");
    r.dwPrimaryDns = 0x08080808;
    r.dwSecondaryDns = 0x01010101;
    ZOVA_SendConfigure(&r);
    std::memset(&r, 0xCC, sizeof r);  // the caller's record is gone after the call

    ASSERT_TRUE(zova->WaitForCount(ZOVA_NOTIFY_RESCAN, rescans + 1));
    EXPECT_TRUE(zova->Simulator().WaitForLog(
        {"\"type\":\"configure\"", "\"mac\":\"02-6B-D4-AA-00-03\"", "\"outcome\":\"accepted\"",
         "\"ip\":\"192.168.20.5\"", "\"mask\":\"255.255.0.0\"", "\"gateway\":\"192.168.20.1\"",
         "\"dhcp\":false", "\"hostname\":\"conveyor-io-new\"", "\"dns1\":\"8.8.8.8\"",
         "\"dns2\":\"1.1.1.1\"", "\"change_password\":false"}))
        << zova->Simulator().LogText();
    // The repeats of the request reach the device but change nothing more.
    EXPECT_TRUE(
        zova->Simulator().WaitForLog({"\"mac\":\"02-6B-D4-AA-00-03\"", "\"outcome\":\"repeat\""}))
        << zova->Simulator().LogText();
    EXPECT_EQ(zova->Count(ZOVA_NOTIFY_RESCAN), rescans + 1);

    const ZOVA_ModuleScanResponseType c = zova->AnswerShowing(
        kMacC, [](const ZOVA_ModuleScanResponseType& a) { return a.dwIpAddr == 0xC0A81405u; });
    EXPECT_EQ(c.dwIpAddr, 0xC0A81405u);
    EXPECT_EQ(c.dwSubnetMask, 0xFFFF0000u);
    EXPECT_STREQ(c.szHostname, "conveyor-io-new");
    unsigned char mac[6];
    EXPECT_EQ(ZOVA_GetInvPswdMacId(mac), 0) << "an accepted password queues nothing";
}

TEST_F(LibraryTest, WrongPasswordRaisesInvalidPasswordAndQueuesTheMac) {
    const int rejections = zova->Count(ZOVA_NOTIFY_INVALID_PASSWORD);
    ZOVA_ConfigureRequestType r = harness::SampleRequest(kMacD, "wrong");
    r.dwIpAddr = 0x0A000001;
    std::strcpy(r.szHostname, "stolen");
    ZOVA_SendConfigure(&r);

    ASSERT_TRUE(zova->WaitForCount(ZOVA_NOTIFY_INVALID_PASSWORD, rejections + 1));
    ASSERT_TRUE(
        zova->Simulator().WaitForLog({"\"mac\":\"02-6B-D4-AA-00-04\"", "\"outcome\":\"repeat\""}))
        << zova->Simulator().LogText();
    EXPECT_EQ(zova->Count(ZOVA_NOTIFY_INVALID_PASSWORD), rejections + 1)
        << "repeats of one request must not raise a second notification";

    unsigned char mac[6] = {};
    ASSERT_EQ(ZOVA_GetInvPswdMacId(mac), 1);
    EXPECT_EQ(0, std::memcmp(mac, kMacD.data(), 6));
    std::memset(mac, 0, sizeof mac);
    ASSERT_EQ(ZOVA_GetInvPswdMacId(mac), 1) << "reading the front keeps it";
    EXPECT_EQ(0, std::memcmp(mac, kMacD.data(), 6));
    ZOVA_RemoveFirstInvPswdMacId();
    EXPECT_EQ(ZOVA_GetInvPswdMacId(mac), 0);
    ZOVA_RemoveFirstInvPswdMacId();  // on an empty queue: harmless

    const auto devices = zova->Scan(kDevices);
    EXPECT_EQ(devices.at(kMacD).dwIpAddr, 0xC0A80A18u) << "a rejected request changes nothing";
    EXPECT_STREQ(devices.at(kMacD).szHostname, "tank-levels");
}

TEST_F(LibraryTest, WinkReachesTheDevice) {
    ZOVA_ConfigureRequestType r{};
    std::memcpy(r.abMacAddr, kMacE.data(), 6);
    ZOVA_SendWink(&r);
    EXPECT_TRUE(zova->Simulator().WaitForLog(
        {"\"type\":\"wink\"", "\"mac\":\"02-6B-D4-AA-00-05\"", "\"outcome\":\"winked\""}))
        << zova->Simulator().LogText();
}

// Five copies of every request, the last a second after the first, and no
// more: enough for lossy links, not a flood. A MAC no device has, so each
// copy is logged and none is carried out. Catches copies sent all at once
// (the engine's test checks each copy's delay).
TEST_F(LibraryTest, EveryRequestGoesOutFiveTimesSpreadAndNoMore) {
    ZOVA_ConfigureRequestType r{};
    const unsigned char nobody[6] = {0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x7E};
    std::memcpy(r.abMacAddr, nobody, 6);
    const auto copies = [&] {
        int n = 0;
        for (const std::string& line : zova->Simulator().LogLines())
            n += line.find("\"mac\":\"02-6B-D4-AA-00-7E\"") != std::string::npos ? 1 : 0;
        return n;
    };
    const auto sent = std::chrono::steady_clock::now();
    ZOVA_SendWink(&r);
    EXPECT_TRUE(
        harness::WaitUntil([&] { return copies() >= static_cast<int>(zova::kRequestCopies); },
                           std::chrono::seconds(10)))
        << zova->Simulator().LogText();
    // Seen no earlier than it was sent, so this holds however loaded the machine.
    EXPECT_GE(std::chrono::steady_clock::now() - sent,
              std::chrono::milliseconds(zova::kLastCopyDelayMs));
    // Long past the last copy's time: a sixth would be here by now.
    ::Sleep(1500);
    EXPECT_EQ(copies(), static_cast<int>(zova::kRequestCopies)) << zova->Simulator().LogText();
}

// The library's own port, as the simulator saw it in a request.
unsigned short LibraryPort(const harness::SimulatorProcess& simulator) {
    const std::string key = "\"from\":\"127.0.0.1:";
    for (const std::string& line : simulator.LogLines()) {
        const auto at = line.find(key);
        if (at != std::string::npos)
            return static_cast<unsigned short>(std::stoul(line.substr(at + key.size())));
    }
    return 0;
}

TEST_F(LibraryTest, HostileDatagramsAreDroppedAndTheLibraryKeepsWorking) {
    zova->Scan(kDevices);
    const unsigned short port = LibraryPort(zova->Simulator());
    ASSERT_NE(port, 0) << zova->Simulator().LogText();

    using namespace zova::wire;
    // Answers count for a scan the library sent and still keeps.
    const std::vector<std::uint32_t> scans = ScanIdsLogged(zova->Simulator());
    const std::uint32_t scan = scans.back();
    std::uint32_t neverSent = scan ^ 0x80000000u;
    while (std::find(scans.begin(), scans.end(), neverSent) != scans.end())
        ++neverSent;
    const base::Mac markerMac = {0x02, 0x6B, 0xD4, 0xEE, 0xEE, 0xEE};
    const Datagram answer = EncodeScanAnswer(scan, SampleAnswer::Bare(markerMac));
    Datagram unterminated = answer;
    unterminated.push_back(0x03);  // a type text of 255 bytes, no NUL anywhere
    unterminated.push_back(255);
    unterminated.insert(unterminated.end(), 255, 'T');
    Datagram wrongMagic = answer;
    wrongMagic[0] = 'X';
    Datagram overrun = answer;
    overrun.insert(overrun.end(), {0x0A, 200, 'h', 'o', 's', 't'});
    const std::vector<Datagram> hostile = {
        {},
        {'Z', 'V', 1},
        wrongMagic,
        overrun,
        Datagram(1500, 'Z'),
        Datagram(4000, 0),
        EncodeScanRequest(5),
        EncodeScanAnswer(neverSent, SampleAnswer::Bare({0x02, 0x6B, 0xD4, 0xEE, 0xEE, 0xEF})),
        EncodeConfigureResult(0x1234,
                              {{0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x03}, ConfigureOutcome::Accepted}),
        EncodeConfigureResult(
            0x1235, {{0x02, 0x6B, 0xD4, 0xAA, 0x00, 0x04}, ConfigureOutcome::WrongPassword}),
        unterminated,  // valid: the marker, with its text cut to the field
    };
    const int rescans = zova->Count(ZOVA_NOTIFY_RESCAN);
    const int rejections = zova->Count(ZOVA_NOTIFY_INVALID_PASSWORD);

    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_NE(s, INVALID_SOCKET);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    for (const Datagram& d : hostile)
        sendto(s, reinterpret_cast<const char*>(d.data()), static_cast<int>(d.size()), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to);
    closesocket(s);

    bool markerSeen = false;
    int strangers = 0;
    harness::WaitUntil(
        [&] {
            ZOVA_ModuleScanResponseType r;
            while (ZOVA_GetResponse(&r)) {
                if (std::memcmp(r.abMacAddr, markerMac.data(), 6) == 0) {
                    markerSeen = true;
                    EXPECT_EQ(std::string(r.szType), std::string(127, 'T'));
                    EXPECT_EQ(r.szType[127], 0);
                } else if (r.abMacAddr[0] != 0x02 || r.abMacAddr[3] != 0xAA) {
                    ++strangers;
                }
            }
            return markerSeen;
        },
        std::chrono::seconds(20));
    EXPECT_TRUE(markerSeen);
    EXPECT_EQ(strangers, 0) << "a dropped datagram must not reach the queue";
    EXPECT_EQ(zova->Count(ZOVA_NOTIFY_RESCAN), rescans) << "results nobody asked for";
    EXPECT_EQ(zova->Count(ZOVA_NOTIFY_INVALID_PASSWORD), rejections);
    unsigned char mac[6];
    EXPECT_EQ(ZOVA_GetInvPswdMacId(mac), 0);
    EXPECT_EQ(zova->Scan(kDevices).size(), kDevices) << "the library still works";
}

// Datagrams that keep arriving must not hold the copies back: a receiver that
// sent due copies only once its socket was empty sent none while a flood
// lasted, and all of them when it stopped. Four threads flood the library's
// socket with junk, faster than one thread takes it, until the devices have
// seen every copy of a scan (or for 20 s at most); every copy must arrive
// while the flood still runs.
TEST_F(LibraryTest, CopiesLeaveWhileAFloodKeepsArriving) {
    zova->Scan(kDevices);
    const unsigned short port = LibraryPort(zova->Simulator());
    ASSERT_NE(port, 0) << zova->Simulator().LogText();
    const std::vector<std::uint32_t> before = ScanIdsLogged(zova->Simulator());
    // The copies of the scan sent below: those of an id not logged before.
    const auto copies = [&] {
        const std::vector<std::uint32_t> ids = ScanIdsLogged(zova->Simulator());
        const auto isNew = [&](std::uint32_t id) {
            return std::find(before.begin(), before.end(), id) == before.end();
        };
        const auto first = std::find_if(ids.begin(), ids.end(), isNew);
        return first == ids.end() ? 0u
                                  : static_cast<unsigned>(std::count(first, ids.end(), *first));
    };

    std::atomic<bool> stop{false};
    constexpr int kFlooders = 4;
    std::atomic<int> flooding{kFlooders};
    const auto flood = [&] {
        const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        const char junk[8] = {'J', 'U', 'N', 'K', 'J', 'U', 'N', 'K'};
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (long sent = 0; sent < 5000000 && !stop && std::chrono::steady_clock::now() < end;
             ++sent)
            sendto(s, junk, sizeof junk, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        closesocket(s);
        --flooding;
    };
    const int sent = ZOVA_SendModuleScan();
    std::vector<std::thread> flooders;
    for (int i = 0; i < kFlooders; ++i)
        flooders.emplace_back(flood);
    bool allWhileFlooding = false;
    harness::WaitUntil(
        [&] {
            const bool floodRuns = flooding == kFlooders;
            allWhileFlooding = floodRuns && copies() == zova::kRequestCopies;
            return allWhileFlooding || !floodRuns;
        },
        std::chrono::seconds(30));
    stop = true;
    for (std::thread& flooder : flooders)
        flooder.join();
    ASSERT_EQ(sent, 1);
    EXPECT_TRUE(allWhileFlooding) << copies() << " copies of " << zova::kRequestCopies
                                  << " when the flood ended";
}

TEST(LibraryVersion, FileVersionReads1_1_0_3) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("zova.dll"), path, sizeof path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u) << path;
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "1.1.0.3");
}

}  // namespace
