// What zova.dll keeps between the tool's calls: answers waiting to be
// fetched, devices that rejected a password, configure requests whose result
// is still due, and the copies of every request still to be sent. Plain C++
// so that it is tested natively; the receiver thread feeds it datagrams and
// sends the copies that fall due, the tool's thread takes from it.
#ifndef VANTREL_ZOVADLL_ENGINE_H
#define VANTREL_ZOVADLL_ENGINE_H

#include "zova/zova.h"
#include "zovadll/Endpoint.h"
#include "zovadll/Wire.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zova {

class Engine {
public:
    using Clock = std::chrono::steady_clock;

    // Every request goes out five times with the same id, copy k this long
    // after the first, so that a device is still listed after one scan on
    // links that lose a tenth of the datagrams each way (docs/protocol.md,
    // "Timing and repeats"). Devices carry out a configure or wink request
    // once per id.
    static constexpr std::array<std::chrono::milliseconds, 5> kCopyDelays = {
        std::chrono::milliseconds(0), std::chrono::milliseconds(150),
        std::chrono::milliseconds(400), std::chrono::milliseconds(700),
        std::chrono::milliseconds(1000)};
    static_assert(kCopyDelays.back().count() == kLastCopyDelayMs, "the public last-copy delay");

    // Bounds that keep a flood of datagrams from exhausting memory; the
    // answer queue holds several full scans of 5,000 devices with repeats.
    static constexpr std::size_t kMaxAnswers = 65536;
    static constexpr std::size_t kMaxRejected = 256;
    static constexpr std::size_t kMaxPending = 64;
    // A scan's answers pass once per device: the answers passed on are kept
    // for the last kPairedScans scans, kMaxPairedMacs in all (the oldest scan
    // is forgotten to make room). Answers to a scan no longer kept pass.
    static constexpr std::size_t kPairedScans = 16;
    static constexpr std::size_t kMaxPairedMacs = 65536;

    // drawId gives request ids: the system's random generator in the
    // library, so that nobody on the network can foresee them.
    explicit Engine(std::function<std::uint32_t()> drawId = {});

    void SetCallback(ZOVA_CallBackType callback) { callback_.store(callback); }

    // The id for a new request; never that of a request still paired.
    std::uint32_t NewRequestId();
    // The first copy of request went out at now; the others fall due on the
    // schedule above. A scan's answers are paired with it from now on.
    void RequestSent(const wire::Datagram& request, Clock::time_point now);
    // The copies due by now, earliest first; each is handed out once.
    std::vector<wire::Datagram> DueCopies(Clock::time_point now);

    // One datagram received from sender. Malformed ones, results nobody
    // asked for and a device's further answers to a scan it has answered
    // already are dropped; everything else is queued and announced through
    // the callback, which runs outside the lock. Two devices with one MAC
    // (twins) both pass: their answers differ in contents or sender.
    void Receive(const std::uint8_t* data, std::size_t size, const Endpoint& sender);

    bool TakeAnswer(ZOVA_ModuleScanResponseType& answer);
    bool FirstRejected(base::Mac& mac);
    void DropFirstRejected();

    // A configure request went out: its first result from that device counts,
    // repeats and results of requests never sent do not.
    void ExpectConfigureResult(std::uint32_t id, const base::Mac& mac);

private:
    // The devices whose answer to one scan went to the queue.
    struct PairedScan {
        std::uint32_t id;
        std::unordered_set<std::uint64_t> passed;  // AnswerKey of each
    };

    void Notify(int notification);
    int AcceptResult(std::uint32_t id, const wire::ConfigureResult& result);
    bool IdInUse(std::uint32_t id) const;
    PairedScan* FindPairedScan(std::uint32_t id);
    void PairScan(std::uint32_t id);
    void ForgetOldestScan();
    void MarkPassed(PairedScan& scan, std::uint64_t key);

    std::function<std::uint32_t()> drawId_;
    std::uint32_t nextCountedId_ = 1;
    std::mutex mutex_;
    std::deque<ZOVA_ModuleScanResponseType> answers_;
    std::deque<base::Mac> rejected_;
    std::deque<std::pair<std::uint32_t, base::Mac>> pending_;
    std::multimap<Clock::time_point, wire::Datagram> copies_;
    std::deque<PairedScan> scans_;  // oldest first
    std::size_t pairedMacs_ = 0;
    std::atomic<ZOVA_CallBackType> callback_{nullptr};
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_ENGINE_H
