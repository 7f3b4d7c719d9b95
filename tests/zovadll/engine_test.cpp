// The library's queues as the tool sees them: answers in arrival order, one
// notification each, and configure results believed only once and only for
// requests that were sent; and the copies of every request, on schedule.
#include "zovadll/engine.h"

#include "tests/common/SampleAnswer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using namespace zova;
using namespace zova::wire;

std::vector<int> g_notifications;
void record(int notification) {
    g_notifications.push_back(notification);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_notifications.clear();
        engine.setCallback(record);
    }
    void deliver(const Datagram& d) { engine.receive(d.data(), d.size()); }
    static ZOVA_ModuleScanResponseType answerFrom(std::uint8_t last) {
        return harness::SampleAnswer::Bare({2, 0x6B, 0xD4, 0, 0, last});
    }
    Engine engine;
    const base::Mac macA{2, 0x6B, 0xD4, 0, 0, 0xA};
    const base::Mac macB{2, 0x6B, 0xD4, 0, 0, 0xB};
};

TEST_F(EngineTest, AnswersQueueInArrivalOrderWithOneNotificationEach) {
    for (std::uint8_t i = 1; i <= 3; ++i)
        deliver(encodeScanAnswer(77, answerFrom(i)));
    EXPECT_EQ(g_notifications, (std::vector<int>{1, 1, 1}));
    ZOVA_ModuleScanResponseType out{};
    for (std::uint8_t i = 1; i <= 3; ++i) {
        ASSERT_TRUE(engine.takeAnswer(out));
        EXPECT_EQ(out.abMacAddr[5], i);
    }
    EXPECT_FALSE(engine.takeAnswer(out));
}

TEST_F(EngineTest, MalformedAndUnsolicitedDatagramsChangeNothing) {
    Datagram cut = encodeScanAnswer(1, answerFrom(1));
    cut.resize(cut.size() - 1);
    deliver(cut);
    deliver(encodeScanRequest(1));  // another host's scan seen on the wire
    deliver(encodeConfigureResult(5, {macA, ConfigureOutcome::WrongPassword}));  // never asked
    engine.receive(nullptr, 0);
    EXPECT_TRUE(g_notifications.empty());
    ZOVA_ModuleScanResponseType out{};
    base::Mac mac{};
    EXPECT_FALSE(engine.takeAnswer(out));
    EXPECT_FALSE(engine.firstRejected(mac));
}

TEST_F(EngineTest, AcceptedConfigureRaisesRescanOnceForItsOwnRequest) {
    engine.expectConfigureResult(10, macA);
    deliver(encodeConfigureResult(11, {macA, ConfigureOutcome::Accepted}));  // other id
    deliver(encodeConfigureResult(10, {macB, ConfigureOutcome::Accepted}));  // other device
    deliver(encodeConfigureResult(10, {macA, ConfigureOutcome::Accepted}));
    deliver(encodeConfigureResult(10, {macA, ConfigureOutcome::Accepted}));  // answer to a repeat
    EXPECT_EQ(g_notifications, (std::vector<int>{2}));
    base::Mac mac{};
    EXPECT_FALSE(engine.firstRejected(mac));
}

TEST_F(EngineTest, RejectedPasswordQueueKeepsItsFrontUntilRemoved) {
    engine.expectConfigureResult(1, macA);
    engine.expectConfigureResult(2, macB);
    deliver(encodeConfigureResult(1, {macA, ConfigureOutcome::WrongPassword}));
    deliver(encodeConfigureResult(2, {macB, ConfigureOutcome::WrongPassword}));
    EXPECT_EQ(g_notifications, (std::vector<int>{3, 3}));
    base::Mac mac{};
    ASSERT_TRUE(engine.firstRejected(mac));
    EXPECT_EQ(mac, macA);
    ASSERT_TRUE(engine.firstRejected(mac));
    EXPECT_EQ(mac, macA) << "reading the front must not drop it";
    engine.dropFirstRejected();
    ASSERT_TRUE(engine.firstRejected(mac));
    EXPECT_EQ(mac, macB);
    engine.dropFirstRejected();
    EXPECT_FALSE(engine.firstRejected(mac));
    engine.dropFirstRejected();  // on an empty queue: nothing happens
    EXPECT_FALSE(engine.firstRejected(mac));
}

// The receiver thread fills while the tool's thread empties: nothing may be
// lost or duplicated (run it with ThreadSanitizer too).
TEST(EngineConcurrency, AnswersTakenWhileArrivingAreAllTakenOnce) {
    static std::atomic<int> announced{0};
    announced = 0;
    Engine engine;
    engine.setCallback([](int) { ++announced; });
    constexpr int kAnswers = 20000;
    std::thread receiver([&] {
        ZOVA_ModuleScanResponseType a{};
        a.bMacAddrValid = 1;
        for (int i = 0; i < kAnswers; ++i) {
            a.abMacAddr[4] = static_cast<std::uint8_t>(i >> 8);
            a.abMacAddr[5] = static_cast<std::uint8_t>(i);
            const Datagram d = encodeScanAnswer(1, a);
            engine.receive(d.data(), d.size());
        }
    });
    std::vector<int> seen(kAnswers, 0);
    int taken = 0;
    ZOVA_ModuleScanResponseType out{};
    while (taken < kAnswers) {
        if (!engine.takeAnswer(out)) {
            std::this_thread::yield();
            continue;
        }
        ++seen[out.abMacAddr[4] << 8 | out.abMacAddr[5]];
        ++taken;
    }
    receiver.join();
    EXPECT_FALSE(engine.takeAnswer(out));
    EXPECT_EQ(announced.load(), kAnswers);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), kAnswers) << "each answer exactly once";
}

// Catches copies sent early (all at once), late, twice or one too many: each
// copy is due exactly at its delay and not a millisecond before.
TEST_F(EngineTest, EveryRequestIsCopiedOnScheduleAndNoMore) {
    using std::chrono::milliseconds;
    const Engine::Clock::time_point t0{};
    const Datagram scan = encodeScanRequest(1), wink = encodeWinkRequest(2, macA);
    engine.requestSent(scan, t0);
    engine.requestSent(wink, t0 + milliseconds(100));
    EXPECT_EQ(Engine::kCopyDelays.front(), milliseconds(0)) << "the first copy goes at once";
    EXPECT_EQ(Engine::kCopyDelays.back(), milliseconds(kLastCopyDelayMs));
    for (std::size_t copy = 1; copy < Engine::kCopyDelays.size(); ++copy) {
        SCOPED_TRACE(copy);
        const auto at = t0 + Engine::kCopyDelays[copy];
        EXPECT_TRUE(engine.dueCopies(at - milliseconds(1)).empty());
        EXPECT_EQ(engine.dueCopies(at), std::vector<Datagram>{scan});
        EXPECT_TRUE(engine.dueCopies(at + milliseconds(99)).empty());
        EXPECT_EQ(engine.dueCopies(at + milliseconds(100)), std::vector<Datagram>{wink});
    }
    EXPECT_TRUE(engine.dueCopies(t0 + std::chrono::hours(1)).empty());

    // A receiver that fell behind sends what is overdue, earliest first.
    engine.requestSent(wink, t0);
    engine.requestSent(scan, t0 + milliseconds(10));
    EXPECT_EQ(engine.dueCopies(t0 + milliseconds(160)), (std::vector<Datagram>{wink, scan}));
    EXPECT_EQ(engine.dueCopies(t0 + std::chrono::hours(1)).size(), 6u);
}

// Catches one answer counting for two requests: an id still awaiting a
// result, or a scan whose answers are still paired, is not given out again.
TEST(EngineIds, ANewIdIsNeverOneStillInUse) {
    const std::uint32_t draws[] = {7, 7, 8, 7, 8, 9};
    std::size_t next = 0;
    Engine engine([&] { return draws[next++]; });
    EXPECT_EQ(engine.newRequestId(), 7u);
    engine.expectConfigureResult(7, {2, 0x6B, 0xD4, 0, 0, 1});
    EXPECT_EQ(engine.newRequestId(), 8u);
    engine.requestSent(encodeScanRequest(8), {});
    EXPECT_EQ(engine.newRequestId(), 9u);
}

// Catches a device listed five times per scan (every copy's answer passed),
// a device missing from a new scan (its answers taken for the old scan's),
// late answers lost, and an answer the full queue refused counted as passed.
TEST_F(EngineTest, EachDeviceAnswersAScanOnce) {
    const auto answer = [&](std::uint32_t id, std::uint8_t device) {
        deliver(encodeScanAnswer(id, answerFrom(device)));
    };
    engine.requestSent(encodeScanRequest(5), {});
    for (int copy = 0; copy < 5; ++copy) {
        answer(5, 1);
        answer(5, 2);
    }
    EXPECT_EQ(g_notifications.size(), 2u) << "one answer per device";
    ZOVA_ModuleScanResponseType noMac{};
    deliver(encodeScanAnswer(5, noMac));
    deliver(encodeScanAnswer(5, noMac));
    EXPECT_EQ(g_notifications.size(), 3u)
        << "answers without a MAC pass once, as the tool keeps one";

    engine.requestSent(encodeScanRequest(6), {});
    answer(6, 1);
    answer(5, 1);  // a late copy of the earlier scan's
    answer(6, 1);
    answer(77, 1);  // a scan this library did not send, or no longer pairs
    answer(77, 1);
    EXPECT_EQ(g_notifications.size(), 6u);

    ZOVA_ModuleScanResponseType out{};
    while (engine.takeAnswer(out)) {
    }
    for (std::size_t i = 0; i < Engine::kMaxAnswers; ++i)
        answer(77, 1);
    answer(6, 3);  // the queue is full
    ASSERT_TRUE(engine.takeAnswer(out));
    answer(6, 3);
    EXPECT_EQ(g_notifications.size(), 6u + Engine::kMaxAnswers + 1) << "its next copy passes";
}

// Memory stays bounded under a flood of scans or of devices: catches the
// oldest scan kept past either bound, or forgotten before it.
TEST_F(EngineTest, PairedAnswersStayWithinTheirBounds) {
    const auto passes = [&](std::uint32_t id, std::uint32_t device) {
        const std::size_t before = g_notifications.size();
        ZOVA_ModuleScanResponseType a = answerFrom(0);
        a.abMacAddr[3] = static_cast<std::uint8_t>(device >> 16);
        a.abMacAddr[4] = static_cast<std::uint8_t>(device >> 8);
        a.abMacAddr[5] = static_cast<std::uint8_t>(device);
        deliver(encodeScanAnswer(id, a));
        ZOVA_ModuleScanResponseType out{};
        engine.takeAnswer(out);
        return g_notifications.size() > before;
    };
    for (std::uint32_t id = 1; id <= Engine::kPairedScans; ++id) {
        engine.requestSent(encodeScanRequest(id), {});
        ASSERT_TRUE(passes(id, 1));
    }
    EXPECT_FALSE(passes(1, 1)) << "the oldest of kPairedScans scans is kept";
    engine.requestSent(encodeScanRequest(100), {});
    EXPECT_TRUE(passes(1, 1)) << "one scan more forgets it";
    EXPECT_FALSE(passes(2, 1));

    // Scan 200 forgets scan 2, the oldest, and pairs devices up to the bound
    // with the one device each of scans 3 to 16.
    engine.requestSent(encodeScanRequest(200), {});
    const std::uint32_t room = static_cast<std::uint32_t>(Engine::kMaxPairedMacs) -
                               static_cast<std::uint32_t>(Engine::kPairedScans - 2);
    for (std::uint32_t device = 1; device <= room; ++device)
        ASSERT_TRUE(passes(200, device));
    EXPECT_FALSE(passes(3, 1)) << "at the bound nothing is forgotten";
    EXPECT_FALSE(passes(200, room));
    EXPECT_TRUE(passes(200, room + 1));
    EXPECT_TRUE(passes(3, 1)) << "one past it forgets the oldest scan";
    EXPECT_FALSE(passes(4, 1));
    EXPECT_FALSE(passes(200, room + 1));
}

TEST_F(EngineTest, FullAnswerQueueDropsNewcomersWithoutNotifying) {
    const Datagram d = encodeScanAnswer(1, answerFrom(1));
    for (std::size_t i = 0; i < Engine::kMaxAnswers + 5; ++i)
        deliver(d);
    EXPECT_EQ(g_notifications.size(), Engine::kMaxAnswers);
}

}  // namespace
