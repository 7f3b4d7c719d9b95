// What zova.dll keeps between the tool's calls: answers waiting to be
// fetched, devices that rejected a password, configure requests whose result
// is still due, and the copies of every request still to be sent. Plain C++
// so that it is tested natively; the receiver thread feeds it datagrams and
// sends the copies that fall due, the tool's thread takes from it.
#ifndef VANTREL_ZOVADLL_ENGINE_H
#define VANTREL_ZOVADLL_ENGINE_H

#include "zova/zova.h"
#include "zovadll/Endpoint.h"
#include "zovadll/ScanTally.h"
#include "zovadll/Wire.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace zova {

class Engine {
public:
    using Clock = std::chrono::steady_clock;

    // Every request goes out kRequestCopies times with the same id, copy k
    // this long after the first, so that a device is still listed after one
    // scan on links that lose a tenth of the datagrams each way
    // (docs/protocol.md, "Timing and repeats"). Devices carry out a
    // configure or wink request once per id.
    static constexpr std::array<std::chrono::milliseconds, kRequestCopies> kCopyDelays = {
        std::chrono::milliseconds(0), std::chrono::milliseconds(150),
        std::chrono::milliseconds(400), std::chrono::milliseconds(700),
        std::chrono::milliseconds(1000)};
    static_assert(kCopyDelays.back().count() == kLastCopyDelayMs, "the public last-copy delay");

    // Bounds that keep a flood of datagrams from exhausting memory. The
    // results awaited and the rejected passwords drop their oldest entry to
    // make room; the full answer queue refuses a newcomer, whose next copy
    // may pass (dropping the oldest would lose a device for the scan, since
    // its further copies are repeats).
    static constexpr std::size_t kMaxAnswers = 65536;
    static constexpr std::size_t kMaxRejected = 256;
    static constexpr std::size_t kMaxPending = 64;
    // A scan's answers pass once per device: the devices heard are kept for
    // the last kPairedScans scans, kMaxPairedDevices in all (the oldest scan
    // is forgotten to make room; one scan alone at the bound passes its
    // further devices unpaired). Answers to a scan no longer kept, or never
    // sent, are dropped.
    static constexpr std::size_t kPairedScans = 16;
    static constexpr std::size_t kMaxPairedDevices = 262144;

    using Notify = std::function<void(int notification)>;

    // drawId gives request ids: the system's random generator in the
    // library, so that nobody on the network can foresee them. notify takes
    // each notification, outside the lock, on the thread that handed over
    // what raised it (in the library the receiver thread, which queues them
    // for the caller's callback).
    explicit Engine(std::function<std::uint32_t()> drawId = {}, Notify notify = {});

    // The id for a new request; never that of a request still paired.
    std::uint32_t NewRequestId();
    // The first copy of request leaves at now; the others fall due on the
    // schedule above. A scan's answers are paired with it from now on.
    void RequestSent(const wire::Datagram& request, Clock::time_point now);
    // When the earliest copy still to be sent falls due; none when no copy
    // waits.
    std::optional<Clock::time_point> NextCopyDue();
    // The copies due by now, earliest first; each is handed out once.
    std::vector<wire::Datagram> DueCopies(Clock::time_point now);
    // Whether a copy (the first included) left at `at`: a scan counts the
    // copies that reached its devices.
    void CopySent(const wire::Datagram& copy, bool left, Clock::time_point at);
    // The receiver found its socket empty (ScanTally::AnswersBeforeCopiesHeard).
    void SocketEmptied();

    // One datagram received from sender at `at`. Malformed ones, results
    // nobody asked for, answers to scans not kept and a device's further
    // answers to a scan it has answered already are dropped; everything else
    // is queued and announced. Two devices with one MAC (twins) both pass:
    // their answers differ in contents or sender.
    void Receive(const std::uint8_t* data, std::size_t size, const Endpoint& sender,
                 Clock::time_point at);
    // Judges each scan whose answers have had their time, once:
    // ZOVA_NOTIFY_ANSWERS_LOST when answers were lost (ScanTally); the
    // newest scan's copies all due once more from now when its answers were
    // lost or many of them missing (ScanTally::kAskAgainOneIn).
    void JudgeScans(Clock::time_point now);

    bool TakeAnswer(ZOVA_ModuleScanResponseType& answer);
    bool FirstRejected(base::Mac& mac);
    void DropFirstRejected();

    // A configure request went out: its first result from that device counts,
    // repeats and results of requests never sent do not.
    void ExpectConfigureResult(std::uint32_t id, const base::Mac& mac);

private:
    int AcceptAnswer(std::uint32_t id, const ZOVA_ModuleScanResponseType& answer,
                     const Endpoint& sender, Clock::time_point at);
    int AcceptResult(std::uint32_t id, const wire::ConfigureResult& result);
    bool IdInUse(std::uint32_t id) const;
    void ScheduleCopies(const wire::Datagram& request, Clock::time_point first,
                        std::size_t fromCopy);
    ScanTally* FindScan(std::uint32_t id);
    void PairScan(std::uint32_t id);
    void ForgetOldestScan();
    bool RoomToPair(const ScanTally& scan);

    std::function<std::uint32_t()> drawId_;
    Notify notify_;
    std::uint32_t nextCountedId_ = 1;
    std::mutex mutex_;
    std::deque<ZOVA_ModuleScanResponseType> answers_;
    std::deque<base::Mac> rejected_;
    std::deque<std::pair<std::uint32_t, base::Mac>> pending_;
    std::multimap<Clock::time_point, wire::Datagram> copies_;
    std::deque<ScanTally> scans_;  // oldest first
    std::size_t pairedDevices_ = 0;
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_ENGINE_H
