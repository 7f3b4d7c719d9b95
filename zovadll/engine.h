// What zova.dll keeps between the tool's calls: answers waiting to be
// fetched, devices that rejected a password, and configure requests whose
// result is still due. Plain C++ so that it is tested natively; the receiver
// thread feeds it datagrams, the tool's thread takes from it.
#ifndef VANTREL_ZOVADLL_ENGINE_H
#define VANTREL_ZOVADLL_ENGINE_H

#include "zova/zova.h"
#include "zovadll/wire.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <utility>

namespace zova {

class Engine {
public:
    // Bounds that keep a flood of datagrams from exhausting memory; the
    // answer queue holds several full scans of 5,000 devices with repeats.
    static constexpr std::size_t kMaxAnswers = 65536;
    static constexpr std::size_t kMaxRejected = 256;
    static constexpr std::size_t kMaxPending = 64;

    void setCallback(ZOVA_CallBackType callback) { callback_.store(callback); }

    // One received datagram. Malformed ones and results nobody asked for are
    // dropped; everything else is queued and announced through the callback,
    // which runs outside the lock.
    void receive(const std::uint8_t* data, std::size_t size);

    bool takeAnswer(ZOVA_ModuleScanResponseType& answer);
    bool firstRejected(wire::Mac& mac);
    void dropFirstRejected();

    // A configure request went out: its first result from that device counts,
    // repeats and results of requests never sent do not.
    void expectConfigureResult(std::uint32_t id, const wire::Mac& mac);

private:
    void notify(int notification);
    int acceptResult(std::uint32_t id, const wire::ConfigureResult& result);

    std::mutex mutex_;
    std::deque<ZOVA_ModuleScanResponseType> answers_;
    std::deque<wire::Mac> rejected_;
    std::deque<std::pair<std::uint32_t, wire::Mac>> pending_;
    std::atomic<ZOVA_CallBackType> callback_{nullptr};
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_ENGINE_H
