// The program's one session of zova.dll: start, scans, and one configure
// request at a time with what the library says of it.
#ifndef VANTREL_CLI_LINK_H
#define VANTREL_CLI_LINK_H

#include "base/Address.h"
#include "cli/ExitStatus.h"
#include "cli/ResultLedger.h"
#include "zova/zova.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace cli {

// A device that has not answered well after the library's last copy of a
// configure request will not.
constexpr std::chrono::milliseconds kResultTimeout(3000);
static_assert(kResultTimeout.count() >= 2 * zova::kLastCopyDelayMs, "time after the last copy");

// ZOVA_TARGET as the library will read it; no value when it is not set.
std::optional<std::string> TargetSetting();

// Registers the callback and starts the library; false when it refuses.
bool StartLibrary();

// One scan and the answers to it, collected as they come: each device's
// first answer, in the order they came, and the MACs that came twice, which
// the library passes on only from two devices (twins).
class Scan {
public:
    using Clock = std::chrono::steady_clock;

    // wait: the longest it collects answers, from Send on.
    explicit Scan(std::chrono::milliseconds wait) : wait_(wait) {}

    // Drops what an earlier scan left waiting and sends this one; false when
    // the library could not send it.
    bool Send();
    // Collects answers to the end of the wait; with wanted (base::MacKey)
    // not empty, only until each of them answered.
    void Collect(const std::unordered_set<std::uint64_t>& wanted = {});
    // Collects for a while more, within the wait.
    void CollectFor(std::chrono::milliseconds more);

    const std::vector<ZOVA_ModuleScanResponseType>& Answers() const { return answers_; }
    const std::vector<base::Mac>& Twins() const { return twins_; }
    // Whether the library said that answers to this scan were lost, so that
    // a device may be missing (it judges once the last copy's answers are
    // due, which may be after the wait).
    bool AnswersLost() const;
    // Whether a device new to this scan answered in the last moments of a
    // wait longer than the last copy's delay, so that others may not have
    // been heard yet: the wait was shorter than the devices take, or the
    // library was still catching up.
    bool StillAnswering() const;

private:
    void CollectUntil(Clock::time_point until, const std::unordered_set<std::uint64_t>& wanted);

    std::chrono::milliseconds wait_;
    Clock::time_point deadline_;
    Clock::time_point lastNew_ = Clock::time_point::min();
    int lostBefore_ = 0;
    std::vector<ZOVA_ModuleScanResponseType> answers_;
    std::vector<base::Mac> twins_;
    std::unordered_set<std::uint64_t> seen_;
};

// What the library has announced since the last call, into ledger.
void TakeResults(ResultLedger& ledger);

// Sends the request and waits, up to timeout, until the library says
// something of it (ResultLedger::ReplyOf); kNoAnswer when it says nothing.
Reply SendConfigure(ZOVA_ConfigureRequestType& request, std::chrono::milliseconds timeout,
                    ResultLedger& ledger);

}  // namespace cli

#endif  // VANTREL_CLI_LINK_H
