// The devices' behaviour, request by request, without sockets.
#include "simulator/Responder.h"

#include "md5/Md5.h"
#include "simulator/Password.h"
#include "tests/common/SampleRequest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>

namespace {

using namespace devsim;
using namespace zova::wire;
using std::chrono::milliseconds;

Device MakeDevice(std::uint8_t last, const char* password = "", bool protectedByPassword = false) {
    Device d;
    d.mac = {0x02, 0x6B, 0xD4, 0, 0, last};
    d.type = "Digital I/O";
    d.ip = 0xC0A80A00u | last;
    d.mask = 0xFFFFFF00u;
    d.hostname = "io-" + std::to_string(last);
    d.passwordOn = protectedByPassword;
    d.storedPassword = password;
    return d;
}

ZOVA_ConfigureRequestType ConfigureOf(std::uint8_t last, const char* password) {
    return harness::SampleRequest({0x02, 0x6B, 0xD4, 0, 0, last}, password)
        .Ip(0x0A000000u | last)
        .Mask(0xFF000000u)
        .Dhcp(1)
        .Hostname("renamed");
}

Handled Send(Responder& responder, const Datagram& d) {
    return responder.Handle(d.data(), d.size(), {0x7F000001u, 5000});
}

// The outcome the device answered, or nothing when it stayed silent.
std::optional<ConfigureOutcome> OutcomeOf(const Handled& handled) {
    if (handled.replies.size() != 1)
        return std::nullopt;
    const Datagram& d = handled.replies[0].datagram;
    const auto result = DecodeConfigureResult(d.data(), d.size());
    if (!result)
        return std::nullopt;
    return result->outcome;
}

ZOVA_ModuleScanResponseType AnswerOf(Responder& responder, std::uint8_t last) {
    for (const Reply& reply : Send(responder, EncodeScanRequest(1)).replies) {
        const auto a = DecodeScanAnswer(reply.datagram.data(), reply.datagram.size());
        if (a && a->abMacAddr[5] == last)
            return *a;
    }
    ADD_FAILURE() << "device " << int{last} << " did not answer";
    return {};
}

TEST(Responder, EveryDeviceAnswersEveryScanWithTheRequestId) {
    Device quiet = MakeDevice(2);
    quiet.unreported = ItemBit(AnswerItem::IpAddr) | ItemBit(AnswerItem::Hostname);
    Responder responder({MakeDevice(1), quiet, MakeDevice(3)}, milliseconds(0));
    for (int repeat = 0; repeat < 2; ++repeat) {
        const Handled handled = Send(responder, EncodeScanRequest(0xABCDEF01));
        ASSERT_EQ(handled.replies.size(), 3u);
        std::set<int> answered;
        for (const Reply& reply : handled.replies) {
            const auto header = DecodeHeader(reply.datagram.data(), reply.datagram.size());
            ASSERT_TRUE(header);
            EXPECT_EQ(header->id, 0xABCDEF01u);
            EXPECT_EQ(reply.delay.count(), 0);
            const auto a = DecodeScanAnswer(reply.datagram.data(), reply.datagram.size());
            ASSERT_TRUE(a);
            answered.insert(a->abMacAddr[5]);
            EXPECT_EQ(a->bIpAddrValid, a->abMacAddr[5] == 2 ? 0 : 1);
            EXPECT_EQ(a->bHostnameValid, a->abMacAddr[5] == 2 ? 0 : 1);
        }
        EXPECT_EQ(answered, (std::set<int>{1, 2, 3}));
        EXPECT_NE(handled.logLine.find("\"type\":\"scan\""), std::string::npos);
        EXPECT_NE(handled.logLine.find("\"answers\":3"), std::string::npos);
    }
}

TEST(Responder, AnswerWindowSpreadsAnswersInsideIt) {
    std::vector<Device> devices;
    for (int i = 0; i < 200; ++i)
        devices.push_back(MakeDevice(static_cast<std::uint8_t>(i)));
    Responder responder(devices, milliseconds(500));
    std::set<long long> delays;
    for (const Reply& reply : Send(responder, EncodeScanRequest(1)).replies) {
        EXPECT_GE(reply.delay.count(), 0);
        EXPECT_LT(reply.delay.count(), 500);
        delays.insert(reply.delay.count());
    }
    EXPECT_GT(delays.size(), 50u);
}

TEST(Responder, PasswordDecidesTheOutcome) {
    const struct {
        const char* name;
        bool protection;
        const char* stored;
        const char* sent;
        ConfigureOutcome outcome;
    } cases[] = {
        {"protection off takes anything", false, "secret", "whatever", ConfigureOutcome::Accepted},
        {"right password", true, "secret", "secret", ConfigureOutcome::Accepted},
        {"wrong password", true, "secret", "Secret", ConfigureOutcome::WrongPassword},
        {"prefix of the password", true, "secret", "secre", ConfigureOutcome::WrongPassword},
        {"empty password set", true, "", "", ConfigureOutcome::Accepted},
        {"empty password sent", true, "secret", "", ConfigureOutcome::WrongPassword},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Responder responder({MakeDevice(1, c.stored, c.protection)}, milliseconds(0));
        const Handled handled = Send(responder, EncodeConfigureRequest(1, ConfigureOf(1, c.sent)));
        EXPECT_EQ(OutcomeOf(handled), c.outcome);
        const bool accepted = c.outcome == ConfigureOutcome::Accepted;
        EXPECT_NE(handled.logLine.find(accepted ? "\"outcome\":\"accepted\""
                                                : "\"outcome\":\"wrong-password\""),
                  std::string::npos);
        EXPECT_EQ(responder.Devices()[0].ip, accepted ? 0x0A000001u : 0xC0A80A01u);
    }
}

std::string Md5hex(const std::string& text) {
    MD5 md5;
    md5.update(text.data(), static_cast<std::uint32_t>(text.size()));
    md5.finalize();
    return md5.hex_digest();
}

// What the tool sends for password P to a device that reports salt text S.
std::string ProofOf(const std::string& password, const std::string& reportedSalt) {
    const std::string s01 = reportedSalt.substr(0, 2);
    return Md5hex(s01 + Md5hex(s01 + password) + reportedSalt);
}

// The salt text device 1 offers in a fresh scan answer.
std::string SaltOffered(Responder& responder, Challenges::Clock::time_point now) {
    const Datagram scan = EncodeScanRequest(1);
    const Datagram answer =
        responder.Handle(scan.data(), scan.size(), {0x7F000001u, 5000}, now).replies.at(0).datagram;
    return DecodeScanAnswer(answer.data(), answer.size()).value().szPasswordSalt;
}

Device SaltedDevice() {
    Device d = MakeDevice(1, "", true);
    d.salted = true;
    d.storedPassword = StoredPassword("press1", "Qm");
    return d;
}

TEST(Responder, SaltedDeviceChecksProofsAndKeepsOnlyDigests) {
    const Device d = SaltedDevice();
    ASSERT_EQ(d.storedPassword, "Qm" + Md5hex("Qmpress1"));
    Responder responder({d}, milliseconds(0));
    const std::string salt = AnswerOf(responder, 1).szPasswordSalt;
    ASSERT_EQ(salt.size(), 34u);
    EXPECT_EQ(salt.substr(0, 2), "Qm");
    EXPECT_NE(salt, d.storedPassword) << "the device offers a challenge, not its stored digest";
    EXPECT_NE(std::string(AnswerOf(responder, 1).szPasswordSalt), salt) << "a fresh one each time";

    const struct {
        const char* name;
        std::string sent;
        ConfigureOutcome outcome;
    } attempts[] = {
        {"password as typed", "press1", ConfigureOutcome::WrongPassword},
        {"proof of another password", ProofOf("press2", salt), ConfigureOutcome::WrongPassword},
        {"the stored digest itself", d.storedPassword, ConfigureOutcome::WrongPassword},
        {"proof in upper case",
         [&] {
             std::string p = ProofOf("press1", salt);
             for (char& c : p)
                 c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
             return p;
         }(),
         ConfigureOutcome::WrongPassword},
    };
    std::uint32_t id = 1;
    for (const auto& a : attempts) {
        SCOPED_TRACE(a.name);
        EXPECT_EQ(OutcomeOf(Send(responder,
                                 EncodeConfigureRequest(id++, ConfigureOf(1, a.sent.c_str())))),
                  a.outcome);
    }

    // A new password the device could never check again is refused whole.
    for (const char* unkeepable : {"fresh", "x7", "x7D41D8CD98F00B204E9800998ECF8427E",
                                   "-7d41d8cd98f00b204e9800998ecf8427e"}) {
        SCOPED_TRACE(unkeepable);
        auto r = ConfigureOf(1, ProofOf("press1", AnswerOf(responder, 1).szPasswordSalt).c_str());
        r.bChangePassword = 1;
        std::strcpy(r.szNewPassword, unkeepable);
        const Handled handled = Send(responder, EncodeConfigureRequest(id++, r));
        EXPECT_EQ(OutcomeOf(handled), ConfigureOutcome::WrongPassword);
        EXPECT_NE(handled.logLine.find("\"outcome\":\"bad-new-password\""), std::string::npos);
        EXPECT_EQ(responder.Devices()[0].storedPassword, d.storedPassword);
        EXPECT_EQ(responder.Devices()[0].ip, 0xC0A80A01u);
    }

    // The right proof (for the first challenge, still unspent), with a new
    // password salted by the tool.
    auto change = ConfigureOf(1, ProofOf("press1", salt).c_str());
    change.bChangePassword = 1;
    const std::string newStored = "x7" + Md5hex("x7" + std::string("fresh"));
    std::strcpy(change.szNewPassword, newStored.c_str());
    ASSERT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(id++, change))),
              ConfigureOutcome::Accepted);
    EXPECT_EQ(responder.Devices()[0].storedPassword, newStored);
    const std::string newSalt = AnswerOf(responder, 1).szPasswordSalt;
    EXPECT_EQ(newSalt.substr(0, 2), "x7");
    EXPECT_EQ(
        OutcomeOf(Send(responder, EncodeConfigureRequest(
                                      id++, ConfigureOf(1, ProofOf("press1", newSalt).c_str())))),
        ConfigureOutcome::WrongPassword);
    EXPECT_EQ(
        OutcomeOf(Send(responder, EncodeConfigureRequest(
                                      id++, ConfigureOf(1, ProofOf("fresh", newSalt).c_str())))),
        ConfigureOutcome::Accepted);
}

TEST(Responder, SaltedDeviceTakesEachProofOnceForAChallengeItOffered) {
    using std::chrono::seconds;
    const Challenges::Clock::time_point t0{};
    Responder responder({SaltedDevice()}, milliseconds(0));
    std::uint32_t id = 1;
    const auto sent = [&](const std::string& proof, Challenges::Clock::duration after) {
        const Datagram d = EncodeConfigureRequest(id++, ConfigureOf(1, proof.c_str()));
        return OutcomeOf(responder.Handle(d.data(), d.size(), {0x7F000001u, 5000}, t0 + after));
    };
    const auto accepted = ConfigureOutcome::Accepted, wrong = ConfigureOutcome::WrongPassword;
    const std::string first = SaltOffered(responder, t0), second = SaltOffered(responder, t0);
    EXPECT_EQ(sent(Md5hex(first + first), seconds(1)), wrong) << "from the scan answer alone";
    EXPECT_EQ(sent(ProofOf("press1", responder.Devices()[0].storedPassword), seconds(1)), wrong)
        << "for the stored digest as salt, the old scheme";
    EXPECT_EQ(sent(ProofOf("press1", "Qm0123456789abcdef0123456789abcdef"), seconds(1)), wrong)
        << "for a challenge never issued";
    EXPECT_EQ(sent(ProofOf("press1", second), seconds(1)), accepted);
    EXPECT_EQ(sent(ProofOf("press1", second), seconds(1)), wrong) << "replayed";
    EXPECT_EQ(sent(ProofOf("press1", first), seconds(1)), accepted) << "an older one still holds";

    const std::string kept = SaltOffered(responder, t0), expired = SaltOffered(responder, t0);
    EXPECT_EQ(sent(ProofOf("press1", kept), Challenges::kLifetime - seconds(1)), accepted);
    EXPECT_EQ(sent(ProofOf("press1", expired), Challenges::kLifetime), wrong);

    const auto later = t0 + Challenges::kLifetime;
    const std::string oldest = SaltOffered(responder, later);
    for (std::size_t i = 0; i < Challenges::kKept; ++i)
        SaltOffered(responder, later);
    EXPECT_EQ(sent(ProofOf("press1", oldest), Challenges::kLifetime + seconds(1)), wrong)
        << "pushed out by newer ones";

    // Half an hour, for a user who leaves the configure dialog open a while:
    // catches a shorter lifetime, which the checks at its edge above follow.
    using std::chrono::hours;
    using std::chrono::minutes;
    const std::string at29 = SaltOffered(responder, t0 + hours(2));
    const std::string at31 = SaltOffered(responder, t0 + hours(2));
    EXPECT_EQ(sent(ProofOf("press1", at29), hours(2) + minutes(29)), accepted);
    EXPECT_EQ(sent(ProofOf("press1", at31), hours(2) + minutes(31)), wrong);
}

TEST(Responder, RepeatsOfOneSaltedRequestAreAnsweredAlike) {
    Responder responder({SaltedDevice()}, milliseconds(0));
    const Datagram request = EncodeConfigureRequest(
        7, ConfigureOf(1, ProofOf("press1", AnswerOf(responder, 1).szPasswordSalt).c_str()));
    // The library's own copies find the challenge spent: they are answered
    // with the outcome, not checked again.
    for (int copy = 0; copy < 3; ++copy)
        EXPECT_EQ(OutcomeOf(Send(responder, request)), ConfigureOutcome::Accepted) << copy;
}

// Devices 192.168.10.N/24; who they answer directly and who by broadcast.
TEST(Responder, ADeviceBroadcastsToASenderOutsideItsSubnet) {
    struct Case {
        const char* what;
        std::uint32_t sender;
        bool broadcast;
    };
    const Case cases[] = {
        {"loopback", 0x7F000001u, false},
        {"same subnet", 0xC0A80A63u, false},
        {"neighbouring subnet", 0xC0A80B01u, true},
        {"other network", 0x0AC90101u, true},
    };
    for (const Case& c : cases) {
        Device wide = MakeDevice(2);
        wide.mask = 0;  // no address settings: every sender is on its link
        Responder responder({MakeDevice(1), wide}, milliseconds(0));
        const Datagram scan = EncodeScanRequest(7);
        const Handled handled = responder.Handle(scan.data(), scan.size(), {c.sender, 4000});
        ASSERT_EQ(handled.replies.size(), 2u) << c.what;
        EXPECT_EQ(handled.replies[0].broadcast, c.broadcast) << c.what;
        EXPECT_FALSE(handled.replies[1].broadcast) << c.what;
        EXPECT_NE(handled.logLine.find(c.broadcast ? "\"broadcast\":1" : "\"broadcast\":0"),
                  std::string::npos)
            << c.what << ": " << handled.logLine;
    }
}

// A configure result leaves with the settings the request just gave.
TEST(Responder, AConfigureResultIsSentAsTheDeviceNowIs) {
    const std::uint32_t sender = 0x0A000063u;  // 10.0.0.99, outside 192.168.10.0/24
    struct Case {
        const char* what;
        const char* password;
        bool broadcast;
    };
    const Case cases[] = {
        {"moved into the sender's subnet", "right", false},
        {"refused, so still outside it", "wrong", true},
    };
    for (const Case& c : cases) {
        Responder responder({MakeDevice(1, "right", true)}, milliseconds(0));
        const Datagram request = EncodeConfigureRequest(9, ConfigureOf(1, c.password));
        const Handled handled = responder.Handle(request.data(), request.size(), {sender, 4000});
        ASSERT_EQ(handled.replies.size(), 1u) << c.what;
        EXPECT_EQ(handled.replies[0].broadcast, c.broadcast) << c.what;
    }
}

TEST(Responder, AcceptedConfigureTakesReportedSettingsAndTheNewPassword) {
    Device d = MakeDevice(1, "old", true);
    d.unreported = ItemBit(AnswerItem::Hostname);
    Responder responder({d}, milliseconds(0));
    auto r = ConfigureOf(1, "old");
    r.bChangePassword = 1;
    std::strcpy(r.szNewPassword, "new");
    r.dwPrimaryDns = 0x08080808;
    ASSERT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(1, r))), ConfigureOutcome::Accepted);

    const auto a = AnswerOf(responder, 1);
    EXPECT_EQ(a.dwIpAddr, 0x0A000001u);
    EXPECT_EQ(a.dwSubnetMask, 0xFF000000u);
    EXPECT_EQ(a.bDhcpOn, 1);
    EXPECT_EQ(a.dwPrimaryDns, 0x08080808u);
    EXPECT_EQ(responder.Devices()[0].hostname, "io-1") << "an unreported setting is not taken";

    EXPECT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(2, ConfigureOf(1, "old")))),
              ConfigureOutcome::WrongPassword);
    EXPECT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(3, ConfigureOf(1, "new")))),
              ConfigureOutcome::Accepted);
}

// The slow and lossy paths the console program's tests need: what the
// device carries out and what it answers, and when.
TEST(Responder, ADevicesPathCanDelayOrLoseItsTraffic) {
    const struct {
        const char* what;
        Device::Lost lost;
        milliseconds resultDelay;
        bool carriedOut;
        std::size_t replies;
        const char* outcome;
    } cases[] = {
        {"late result", Device::Lost::kNothing, milliseconds(3200), true, 1, "accepted"},
        {"lost result", Device::Lost::kResults, milliseconds(0), true, 0, "accepted"},
        {"lost request", Device::Lost::kRequests, milliseconds(0), false, 0, "lost"},
    };
    for (const auto& c : cases) {
        Device d = MakeDevice(1, "a", true);
        d.lost = c.lost;
        d.resultDelay = c.resultDelay;
        d.answerDelay = milliseconds(700);
        Responder responder({d}, milliseconds(0));
        const Handled handled = Send(responder, EncodeConfigureRequest(1, ConfigureOf(1, "a")));
        ASSERT_EQ(handled.replies.size(), c.replies) << c.what;
        if (c.replies)
            EXPECT_EQ(handled.replies[0].delay, c.resultDelay) << c.what;
        EXPECT_NE(handled.logLine.find(std::string("\"outcome\":\"") + c.outcome + '"'),
                  std::string::npos)
            << c.what << ": " << handled.logLine;
        EXPECT_EQ(responder.Devices()[0].ip == 0x0A000001u, c.carriedOut) << c.what;
        const Handled scan = Send(responder, EncodeScanRequest(2));
        ASSERT_EQ(scan.replies.size(), 1u);
        EXPECT_EQ(scan.replies[0].delay, milliseconds(700)) << c.what;
    }
}

TEST(Responder, RepeatsAreAnsweredAlikeButCarriedOutOnce) {
    Responder responder({MakeDevice(1, "a", true)}, milliseconds(0));
    auto change = ConfigureOf(1, "a");
    change.bChangePassword = 1;
    std::strcpy(change.szNewPassword, "b");
    const Datagram request = EncodeConfigureRequest(7, change);
    ASSERT_EQ(OutcomeOf(Send(responder, request)), ConfigureOutcome::Accepted);
    // The repeat still carries the old password: checked again, it would fail.
    const Handled repeat = Send(responder, request);
    EXPECT_EQ(OutcomeOf(repeat), ConfigureOutcome::Accepted);
    EXPECT_NE(repeat.logLine.find("\"outcome\":\"repeat\""), std::string::npos);
    EXPECT_EQ(responder.Devices()[0].storedPassword, "b");

    const base::Mac mac{0x02, 0x6B, 0xD4, 0, 0, 1};
    EXPECT_NE(Send(responder, EncodeWinkRequest(9, mac)).logLine.find("\"winked\""),
              std::string::npos);
    EXPECT_NE(Send(responder, EncodeWinkRequest(9, mac)).logLine.find("\"repeat\""),
              std::string::npos);
    EXPECT_NE(Send(responder, EncodeWinkRequest(10, mac)).logLine.find("\"winked\""),
              std::string::npos);
}

TEST(Responder, ALateCopyOfAnOlderRequestIsNotCarriedOutAgain) {
    Responder responder({MakeDevice(1, "a", true)}, milliseconds(0));
    auto first = ConfigureOf(1, "a");
    first.bChangePassword = 1;
    std::strcpy(first.szNewPassword, "b");
    first.dwIpAddr = 0x0A000001;
    ASSERT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(7, first))),
              ConfigureOutcome::Accepted);
    auto second = ConfigureOf(1, "b");
    second.dwIpAddr = 0x0A000002;
    ASSERT_EQ(OutcomeOf(Send(responder, EncodeConfigureRequest(8, second))),
              ConfigureOutcome::Accepted);
    // The first request's last copy, with the password that no longer holds.
    const Handled late = Send(responder, EncodeConfigureRequest(7, first));
    EXPECT_EQ(OutcomeOf(late), ConfigureOutcome::Accepted);
    EXPECT_NE(late.logLine.find("\"outcome\":\"repeat\""), std::string::npos) << late.logLine;
    EXPECT_EQ(responder.Devices()[0].ip, 0x0A000002u);
    EXPECT_EQ(responder.Devices()[0].storedPassword, "b");
}

TEST(Responder, SilentForOtherDevicesAndForWhatItCannotRead) {
    Responder responder({MakeDevice(1)}, milliseconds(0));
    const base::Mac stranger{0x02, 0x6B, 0xD4, 9, 9, 9};
    Datagram cut = EncodeConfigureRequest(1, ConfigureOf(1, ""));
    cut.pop_back();
    ZOVA_ModuleScanResponseType answer{};
    const struct {
        const char* name;
        Datagram datagram;
        const char* logged;
    } cases[] = {
        {"configure for another MAC", EncodeConfigureRequest(1, ConfigureOf(9, "")),
         "\"unknown-device\""},
        {"wink for another MAC", EncodeWinkRequest(1, stranger), "\"unknown-device\""},
        {"configure cut short", cut, "\"malformed\""},
        {"an answer sent to a device", EncodeScanAnswer(1, answer), "\"malformed\""},
        {"noise", {1, 2, 3}, "\"malformed\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Handled handled = Send(responder, c.datagram);
        EXPECT_TRUE(handled.replies.empty());
        EXPECT_NE(handled.logLine.find(c.logged), std::string::npos) << handled.logLine;
    }
    EXPECT_EQ(responder.Devices()[0].ip, 0xC0A80A01u);
}

TEST(Responder, LogLinesStayOneValidLineWhateverTheTexts) {
    Responder responder({MakeDevice(1)}, milliseconds(0));
    auto r = ConfigureOf(1, "pa\"ss\\word");
    std::strcpy(r.szHostname, "evil\n{\"type\":\"scan\"}\x01\xff");
    const std::string line = Send(responder, EncodeConfigureRequest(1, r)).logLine;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_NE(line.find(R"("password":"pa\"ss\\word")"), std::string::npos) << line;
    EXPECT_NE(line.find(R"("hostname":"evil\u000a{\"type\":\"scan\"}\u0001\u00ff")"),
              std::string::npos)
        << line;
}

}  // namespace
