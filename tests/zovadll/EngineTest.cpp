// The library's queues as the tool sees them: answers in arrival order, one
// notification each, and configure results believed only once and only for
// requests that were sent; and the copies of every request, on schedule.
#include "zovadll/Engine.h"

#include "tests/common/SampleAnswer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace zova;
using namespace zova::wire;
using harness::SampleAnswer;

std::vector<int> g_notifications;
void Record(int notification) {
    g_notifications.push_back(notification);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { g_notifications.clear(); }
    void Deliver(const Datagram& d, const Endpoint& from = kDevices) {
        engine.Receive(d.data(), d.size(), from, {});
    }
    static constexpr Endpoint kDevices{0x7F000001, kDevicePort};
    static ZOVA_ModuleScanResponseType AnswerFrom(std::uint8_t last) {
        return harness::SampleAnswer::Bare({2, 0x6B, 0xD4, 0, 0, last});
    }
    Engine engine{{}, Record};
    const base::Mac macA{2, 0x6B, 0xD4, 0, 0, 0xA};
    const base::Mac macB{2, 0x6B, 0xD4, 0, 0, 0xB};
};

TEST_F(EngineTest, AnswersQueueInArrivalOrderWithOneNotificationEach) {
    engine.RequestSent(EncodeScanRequest(77), {});
    for (std::uint8_t i = 1; i <= 3; ++i)
        Deliver(EncodeScanAnswer(77, AnswerFrom(i)));
    EXPECT_EQ(g_notifications, (std::vector<int>{1, 1, 1}));
    ZOVA_ModuleScanResponseType out{};
    for (std::uint8_t i = 1; i <= 3; ++i) {
        ASSERT_TRUE(engine.TakeAnswer(out));
        EXPECT_EQ(out.abMacAddr[5], i);
    }
    EXPECT_FALSE(engine.TakeAnswer(out));
}

TEST_F(EngineTest, MalformedAndUnsolicitedDatagramsChangeNothing) {
    Datagram cut = EncodeScanAnswer(1, AnswerFrom(1));
    cut.resize(cut.size() - 1);
    Deliver(cut);
    Deliver(EncodeScanRequest(1));  // another host's scan seen on the wire
    Deliver(EncodeConfigureResult(5, {macA, ConfigureOutcome::WrongPassword}));  // never asked
    engine.Receive(nullptr, 0, kDevices, {});
    EXPECT_TRUE(g_notifications.empty());
    ZOVA_ModuleScanResponseType out{};
    base::Mac mac{};
    EXPECT_FALSE(engine.TakeAnswer(out));
    EXPECT_FALSE(engine.FirstRejected(mac));
}

TEST_F(EngineTest, AcceptedConfigureRaisesRescanOnceForItsOwnRequest) {
    engine.ExpectConfigureResult(10, macA);
    Deliver(EncodeConfigureResult(11, {macA, ConfigureOutcome::Accepted}));  // other id
    Deliver(EncodeConfigureResult(10, {macB, ConfigureOutcome::Accepted}));  // other device
    Deliver(EncodeConfigureResult(10, {macA, ConfigureOutcome::Accepted}));
    Deliver(EncodeConfigureResult(10, {macA, ConfigureOutcome::Accepted}));  // answer to a repeat
    EXPECT_EQ(g_notifications, (std::vector<int>{2}));
    base::Mac mac{};
    EXPECT_FALSE(engine.FirstRejected(mac));
}

TEST_F(EngineTest, RejectedPasswordQueueKeepsItsFrontUntilRemoved) {
    engine.ExpectConfigureResult(1, macA);
    engine.ExpectConfigureResult(2, macB);
    Deliver(EncodeConfigureResult(1, {macA, ConfigureOutcome::WrongPassword}));
    Deliver(EncodeConfigureResult(2, {macB, ConfigureOutcome::WrongPassword}));
    EXPECT_EQ(g_notifications, (std::vector<int>{3, 3}));
    base::Mac mac{};
    ASSERT_TRUE(engine.FirstRejected(mac));
    EXPECT_EQ(mac, macA);
    ASSERT_TRUE(engine.FirstRejected(mac));
    EXPECT_EQ(mac, macA) << "reading the front must not drop it";
    engine.DropFirstRejected();
    ASSERT_TRUE(engine.FirstRejected(mac));
    EXPECT_EQ(mac, macB);
    engine.DropFirstRejected();
    EXPECT_FALSE(engine.FirstRejected(mac));
    engine.DropFirstRejected();  // on an empty queue: nothing happens
    EXPECT_FALSE(engine.FirstRejected(mac));
}

// The receiver thread fills while the tool's thread empties: nothing may be
// lost or duplicated (run it with ThreadSanitizer too).
TEST(EngineConcurrency, AnswersTakenWhileArrivingAreAllTakenOnce) {
    static std::atomic<int> announced{0};
    announced = 0;
    Engine engine({}, [](int) { ++announced; });
    constexpr int kAnswers = 20000;
    engine.RequestSent(EncodeScanRequest(1), {});
    std::thread receiver([&] {
        ZOVA_ModuleScanResponseType a{};
        a.bMacAddrValid = 1;
        for (int i = 0; i < kAnswers; ++i) {
            a.abMacAddr[4] = static_cast<std::uint8_t>(i >> 8);
            a.abMacAddr[5] = static_cast<std::uint8_t>(i);
            const Datagram d = EncodeScanAnswer(1, a);
            engine.Receive(d.data(), d.size(), {0x7F000001, kDevicePort}, {});
        }
    });
    std::vector<int> seen(kAnswers, 0);
    int taken = 0;
    ZOVA_ModuleScanResponseType out{};
    while (taken < kAnswers) {
        if (!engine.TakeAnswer(out)) {
            std::this_thread::yield();
            continue;
        }
        ++seen[out.abMacAddr[4] << 8 | out.abMacAddr[5]];
        ++taken;
    }
    receiver.join();
    EXPECT_FALSE(engine.TakeAnswer(out));
    EXPECT_EQ(announced.load(), kAnswers);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), kAnswers) << "each answer exactly once";
}

// Catches copies sent early (all at once), late, twice or one too many: each
// copy is due exactly at its delay and not a millisecond before.
TEST_F(EngineTest, EveryRequestIsCopiedOnScheduleAndNoMore) {
    using std::chrono::milliseconds;
    const Engine::Clock::time_point t0{};
    const Datagram scan = EncodeScanRequest(1), wink = EncodeWinkRequest(2, macA);
    engine.RequestSent(scan, t0);
    engine.RequestSent(wink, t0 + milliseconds(100));
    EXPECT_EQ(Engine::kCopyDelays.front(), milliseconds(0)) << "the first copy goes at once";
    EXPECT_EQ(Engine::kCopyDelays.back(), milliseconds(kLastCopyDelayMs));
    for (std::size_t copy = 1; copy < Engine::kCopyDelays.size(); ++copy) {
        SCOPED_TRACE(copy);
        const auto at = t0 + Engine::kCopyDelays[copy];
        EXPECT_TRUE(engine.DueCopies(at - milliseconds(1)).empty());
        EXPECT_EQ(engine.DueCopies(at), std::vector<Datagram>{scan});
        EXPECT_TRUE(engine.DueCopies(at + milliseconds(99)).empty());
        EXPECT_EQ(engine.DueCopies(at + milliseconds(100)), std::vector<Datagram>{wink});
    }
    EXPECT_TRUE(engine.DueCopies(t0 + std::chrono::hours(1)).empty());

    // A receiver that fell behind sends what is overdue, earliest first.
    engine.RequestSent(wink, t0);
    engine.RequestSent(scan, t0 + milliseconds(10));
    EXPECT_EQ(engine.DueCopies(t0 + milliseconds(160)), (std::vector<Datagram>{wink, scan}));
    EXPECT_EQ(engine.DueCopies(t0 + std::chrono::hours(1)).size(), 6u);
}

// Catches one answer counting for two requests: an id still awaiting a
// result, or a scan whose answers are still paired, is not given out again.
TEST(EngineIds, ANewIdIsNeverOneStillInUse) {
    const std::uint32_t draws[] = {7, 7, 8, 7, 8, 9};
    std::size_t next = 0;
    Engine engine([&] { return draws[next++]; });
    EXPECT_EQ(engine.NewRequestId(), 7u);
    engine.ExpectConfigureResult(7, {2, 0x6B, 0xD4, 0, 0, 1});
    EXPECT_EQ(engine.NewRequestId(), 8u);
    engine.RequestSent(EncodeScanRequest(8), {});
    EXPECT_EQ(engine.NewRequestId(), 9u);
}

// Catches a device listed once per copy (every copy's answer passed), a
// device missing from a new scan (its answers taken for the old scan's), late
// answers lost, answers to scans not kept passed on (they only add to the
// caller's queue), and an answer the full queue refused counted as passed.
TEST_F(EngineTest, EachDeviceAnswersAScanOnce) {
    const auto answer = [&](std::uint32_t id, std::uint8_t device) {
        Deliver(EncodeScanAnswer(id, AnswerFrom(device)));
    };
    engine.RequestSent(EncodeScanRequest(5), {});
    for (unsigned copy = 0; copy < kRequestCopies; ++copy) {
        answer(5, 1);
        answer(5, 2);
    }
    EXPECT_EQ(g_notifications.size(), 2u) << "one answer per device";
    ZOVA_ModuleScanResponseType noMac{};
    Deliver(EncodeScanAnswer(5, noMac));
    Deliver(EncodeScanAnswer(5, noMac));
    EXPECT_EQ(g_notifications.size(), 3u)
        << "answers without a MAC pass once, as the tool keeps one";

    engine.RequestSent(EncodeScanRequest(6), {});
    answer(6, 1);
    answer(5, 3);  // a late answer to the earlier scan
    answer(6, 1);
    answer(77, 4);  // a scan this library did not send, or no longer keeps
    EXPECT_EQ(g_notifications.size(), 5u);

    ZOVA_ModuleScanResponseType out{};
    while (engine.TakeAnswer(out)) {
    }
    engine.RequestSent(EncodeScanRequest(7), {});
    ZOVA_ModuleScanResponseType a = AnswerFrom(0);
    for (std::size_t i = 0; i < Engine::kMaxAnswers; ++i) {
        a.abMacAddr[3] = static_cast<std::uint8_t>(i >> 16);
        a.abMacAddr[4] = static_cast<std::uint8_t>(i >> 8);
        a.abMacAddr[5] = static_cast<std::uint8_t>(i);
        Deliver(EncodeScanAnswer(7, a));
    }
    answer(6, 3);  // the queue is full
    EXPECT_EQ(g_notifications.size(), 5u + Engine::kMaxAnswers);
    ASSERT_TRUE(engine.TakeAnswer(out));
    answer(6, 3);
    EXPECT_EQ(g_notifications.size(), 6u + Engine::kMaxAnswers) << "its next copy passes";
}

// Catches a twin (two devices with one MAC) taken for a repeat, and a salted
// device passed on every copy because its challenge is new in each answer.
TEST_F(EngineTest, TwinsPassOnceEachAndRepeatsDoNot) {
    engine.RequestSent(EncodeScanRequest(5), {});
    const ZOVA_ModuleScanResponseType device = harness::SampleAnswer(1, 0xC0A80001);
    const ZOVA_ModuleScanResponseType twin = harness::SampleAnswer(1, 0xC0A80002);
    const Endpoint elsewhere{0x7F000002, kDevicePort};
    for (const char* challenge : {"0123", "4567"}) {
        Deliver(EncodeScanAnswer(
            5, harness::SampleAnswer::Bare(macA).Salt(std::string("b4") + challenge)));
        for (const Endpoint& from : {kDevices, elsewhere}) {
            Deliver(EncodeScanAnswer(5, device), from);
            Deliver(EncodeScanAnswer(5, twin), from);
        }
    }
    EXPECT_EQ(g_notifications.size(), 5u) << "a salted device, and two twins from two senders";
    ZOVA_ModuleScanResponseType out{};
    std::vector<std::uint32_t> ips;
    while (engine.TakeAnswer(out))
        ips.push_back(out.dwIpAddr);
    EXPECT_EQ(ips, (std::vector<std::uint32_t>{0, 0xC0A80001, 0xC0A80002, 0xC0A80001, 0xC0A80002}));
}

// Memory stays bounded under a flood of scans or of devices: catches the
// oldest scan kept past either bound, or forgotten before it. A kept scan
// passes a new device; a forgotten one drops it.
TEST_F(EngineTest, PairedScansStayWithinTheirBounds) {
    const auto passes = [&](std::uint32_t id, std::uint32_t device) {
        const std::size_t before = g_notifications.size();
        ZOVA_ModuleScanResponseType a = AnswerFrom(0);
        a.abMacAddr[3] = static_cast<std::uint8_t>(device >> 16);
        a.abMacAddr[4] = static_cast<std::uint8_t>(device >> 8);
        a.abMacAddr[5] = static_cast<std::uint8_t>(device);
        Deliver(EncodeScanAnswer(id, a));
        ZOVA_ModuleScanResponseType out{};
        engine.TakeAnswer(out);
        return g_notifications.size() > before;
    };
    for (std::uint32_t id = 1; id <= Engine::kPairedScans; ++id) {
        engine.RequestSent(EncodeScanRequest(id), {});
        ASSERT_TRUE(passes(id, 1));
    }
    EXPECT_TRUE(passes(1, 2)) << "the oldest of kPairedScans scans is kept";
    engine.RequestSent(EncodeScanRequest(100), {});
    EXPECT_FALSE(passes(1, 3)) << "one scan more forgets it";
    EXPECT_TRUE(passes(2, 2));

    // Scan 200 forgets scan 2, the oldest, and pairs devices up to the bound
    // with the one device each of scans 3 to 16.
    engine.RequestSent(EncodeScanRequest(200), {});
    const std::uint32_t room = static_cast<std::uint32_t>(Engine::kMaxPairedDevices) -
                               static_cast<std::uint32_t>(Engine::kPairedScans - 2);
    for (std::uint32_t device = 1; device <= room; ++device)
        ASSERT_TRUE(passes(200, device));
    EXPECT_FALSE(passes(200, room)) << "at the bound it is still paired";
    EXPECT_TRUE(passes(200, room + 1));
    EXPECT_FALSE(passes(3, 4)) << "one past it forgets the oldest scan";
    EXPECT_TRUE(passes(4, 2));
    EXPECT_FALSE(passes(200, room + 1));
}

// Catches a device whose answers to every copy were lost staying missing:
// the newest scan is sent again, five copies on the schedule, once, when its
// answers were lost or a twentieth of those owed were not heard (not one
// fewer); an older scan is not (its list was emptied already).
TEST_F(EngineTest, TheNewestScanThatMissedAnswersIsAskedOnceMore) {
    using std::chrono::milliseconds;
    const Engine::Clock::time_point t0{};
    // 40 devices, heard on the first copy, owe 160 answers to the others.
    const auto scanMissing = [&](std::uint32_t id, unsigned missing) {
        const Datagram scan = EncodeScanRequest(id);
        engine.RequestSent(scan, t0);
        for (std::uint8_t device = 1; device <= 40; ++device)
            Deliver(EncodeScanAnswer(id, AnswerFrom(device)));
        for (const milliseconds delay : Engine::kCopyDelays)
            engine.CopySent(scan, true, t0 + delay);
        for (unsigned owed = missing; owed < 160; ++owed)
            Deliver(EncodeScanAnswer(id, AnswerFrom(static_cast<std::uint8_t>(1 + owed % 40))));
        engine.DueCopies(t0 + std::chrono::hours(1));
    };
    scanMissing(1, 160);
    scanMissing(2, 8);
    const auto judged = t0 + std::chrono::hours(1);
    engine.JudgeScans(judged);
    EXPECT_EQ(
        std::count(g_notifications.begin(), g_notifications.end(), int{ZOVA_NOTIFY_ANSWERS_LOST}),
        1)
        << "the first scan's devices may be missing, not the second's";
    for (const milliseconds delay : Engine::kCopyDelays) {
        SCOPED_TRACE(delay.count());
        EXPECT_EQ(engine.DueCopies(judged + delay), std::vector<Datagram>{EncodeScanRequest(2)});
    }
    scanMissing(3, 7);
    engine.JudgeScans(judged + std::chrono::hours(1));
    EXPECT_FALSE(engine.NextCopyDue()) << "judged once, asked again once, a 7 in 160 share not";
}

base::Mac NumberedMac(std::size_t n) {
    return {2,
            0x6B,
            0xD4,
            static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n)};
}

// Each bound at its limit and one past it. Catches a bound that drops the
// newest entry (the result of the latest configure request ignored, so no
// rescan follows), or one that bites an entry early or late.
TEST(EngineBounds, EachBoundAtItsLimitAndOnePast) {
    struct Kept {
        bool oldest, newest;
    };
    struct Case {
        const char* bound;
        std::size_t limit;
        // Puts n entries into a new engine; which of the oldest and the
        // newest still count.
        std::function<Kept(Engine&, const std::vector<int>&, std::size_t)> fill;
        Kept atLimit, onePast;
    };
    const auto result = [](Engine& engine, std::size_t n, ConfigureOutcome outcome) {
        const Datagram d =
            EncodeConfigureResult(static_cast<std::uint32_t>(n), {NumberedMac(n), outcome});
        engine.Receive(d.data(), d.size(), {0x7F000001, kDevicePort}, {});
    };
    const Case cases[] = {
        {"configure results awaited",
         Engine::kMaxPending,
         [&](Engine& engine, const std::vector<int>& notes, std::size_t n) {
             for (std::size_t i = 1; i <= n; ++i)
                 engine.ExpectConfigureResult(static_cast<std::uint32_t>(i), NumberedMac(i));
             result(engine, 1, ConfigureOutcome::Accepted);
             const bool oldest = notes.size() == 1;
             result(engine, n, ConfigureOutcome::Accepted);
             return Kept{oldest, notes.size() == (oldest ? 2u : 1u)};
         },
         {true, true},
         {false, true}},
        {"rejected passwords",
         Engine::kMaxRejected,
         [&](Engine& engine, const std::vector<int>&, std::size_t n) {
             for (std::size_t i = 1; i <= n; ++i) {
                 engine.ExpectConfigureResult(static_cast<std::uint32_t>(i), NumberedMac(i));
                 result(engine, i, ConfigureOutcome::WrongPassword);
             }
             base::Mac first{}, last{};
             engine.FirstRejected(first);
             while (engine.FirstRejected(last))
                 engine.DropFirstRejected();
             return Kept{first == NumberedMac(1), last == NumberedMac(n)};
         },
         {true, true},
         {false, true}},
        // One scan alone: its further devices pass unpaired, so a repeat of
        // the newest passes again.
        {"devices paired in one scan",
         Engine::kMaxPairedDevices,
         [&](Engine& engine, const std::vector<int>& notes, std::size_t n) {
             engine.RequestSent(EncodeScanRequest(9), {});
             const auto answer = [&](std::size_t i) {
                 const Datagram d = EncodeScanAnswer(9, SampleAnswer::Bare(NumberedMac(i)));
                 engine.Receive(d.data(), d.size(), {0x7F000001, kDevicePort}, {});
                 ZOVA_ModuleScanResponseType out;
                 engine.TakeAnswer(out);
             };
             for (std::size_t i = 1; i <= n; ++i)
                 answer(i);
             const std::size_t passed = notes.size();
             answer(1);
             const bool oldest = notes.size() == passed;
             answer(n);
             return Kept{oldest, notes.size() == passed};
         },
         {true, true},
         {true, false}},
    };
    for (const Case& c : cases) {
        for (const std::size_t n : {c.limit, c.limit + 1}) {
            SCOPED_TRACE(std::string(c.bound) + ", " + std::to_string(n) + " entries");
            std::vector<int> notes;
            Engine engine({}, [&](int note) { notes.push_back(note); });
            const Kept kept = c.fill(engine, notes, n);
            const Kept expected = n == c.limit ? c.atLimit : c.onePast;
            EXPECT_EQ(kept.oldest, expected.oldest) << "the oldest entry";
            EXPECT_EQ(kept.newest, expected.newest) << "the newest entry";
        }
    }
}

}  // namespace
