// When the library says that answers to a scan were lost.
#include "zovadll/ScanTally.h"

#include "zova/zova.h"
#include "zovadll/Engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

using std::chrono::milliseconds;
using zova::ScanTally;

const ScanTally::Clock::time_point t0{};
const auto& kCopyAt = zova::Engine::kCopyDelays;

// Devices alike: first heard once this many copies had left, then heard this
// many times in all.
struct Devices {
    std::uint64_t count;
    std::uint8_t copiesBefore;
    std::uint8_t answers;
};

// Every copy leaves on time; each group's devices answer first just after
// their copy; the receiver finds its socket empty after each copy, unless it
// is behind. The verdict once the last copy's answers have had their time.
std::optional<bool> Verdict(const std::vector<Devices>& groups, bool refused, bool behind) {
    ScanTally tally(1);
    std::uint64_t device = 0;
    for (std::size_t copy = 1; copy <= zova::kRequestCopies; ++copy) {
        tally.CopyLeft(t0 + kCopyAt[copy - 1]);
        if (!behind)
            tally.AnswersBeforeCopiesHeard();
        for (const Devices& group : groups) {
            if (group.copiesBefore != copy)
                continue;
            for (std::uint64_t i = 0; i < group.count; ++i, ++device) {
                tally.Add(device, t0 + kCopyAt[copy - 1] + milliseconds(1));
                for (int repeat = 1; repeat < group.answers; ++repeat)
                    tally.CountRepeat(device);
            }
        }
    }
    if (refused)
        tally.Refused();
    return tally.TakeVerdict(t0 + std::chrono::hours(1));
}

// Catches a warning where nothing is missing (a device that came up late, a
// lossy link's odd answer) and silence where devices may be: when answers
// went missing wholesale at our socket, or were refused by a full queue, or
// hidden while the receiver was behind (a device first heard before the
// socket was found empty may have answered the first copy, its answer
// waiting, so it owes every later one). 1 of 4 later answers lost from each
// device makes a missing device 1/1023 likely per device, so 11 devices
// reach the 1 in 100 and 10 do not.
TEST(ScanTally, SaysAnswersWereLostWhenADeviceMayBeMissing) {
    struct Case {
        const char* what;
        std::vector<Devices> devices;
        bool refused;
        bool lost;
        bool behind = false;
    };
    const Case cases[] = {
        {"every device heard on every copy", {{1000, 1, 5}}, false, false},
        {"devices that came up during the scan", {{100, 1, 5}, {3, 4, 2}, {2, 5, 1}}, false, false},
        {"a lossy link lost an answer of a few", {{990, 1, 5}, {10, 1, 4}}, false, false},
        {"one of four later answers lost, 10 devices", {{10, 1, 4}}, false, false},
        {"one of four later answers lost, 11 devices", {{11, 1, 4}}, false, true},
        {"answers lost wholesale at the socket", {{700, 1, 2}, {300, 1, 5}}, false, true},
        {"one device heard on its first answer only", {{1, 1, 1}}, false, true},
        {"an answer refused by the full queue", {{10, 1, 5}}, true, true},
        {"no device answered", {}, false, false},
        {"devices first heard at the last copy", {{20, 5, 2}}, false, false},
        {"the same while the receiver was behind", {{20, 5, 2}}, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Verdict(c.devices, c.refused, c.behind), std::optional<bool>(c.lost));
    }
}

// Catches a verdict before the answers to the last copy could all be in:
// they may come as late after it as the latest first answer came after the
// first copy; and a second verdict for one scan.
TEST(ScanTally, JudgesOnceWhenTheLastCopysAnswersHadTheirTime) {
    ScanTally tally(1);
    tally.CopyLeft(t0);
    tally.Add(1, t0 + milliseconds(100));  // and never again
    tally.CopyLeft(t0 + kCopyAt[1]);
    tally.CopyLeft(t0 + kCopyAt[2]);
    tally.CopyLeft(t0 + kCopyAt[3]);
    const auto due = t0 + kCopyAt[3] + milliseconds(100) + ScanTally::kSettle;
    EXPECT_EQ(tally.TakeVerdict(due), std::nullopt) << "a copy is still to be sent";
    tally.CopyNotSent();
    EXPECT_EQ(tally.TakeVerdict(due - milliseconds(1)), std::nullopt);
    EXPECT_EQ(tally.TakeVerdict(due), std::optional<bool>(true)) << "heard on none of three";
    EXPECT_EQ(tally.TakeVerdict(due), std::nullopt) << "judged once";
}

}  // namespace
