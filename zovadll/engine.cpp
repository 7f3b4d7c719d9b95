#include "zovadll/engine.h"

#include "base/Address.h"

#include <algorithm>

namespace zova {

namespace {

// A source that keeps giving ids in use cannot hold a request back for long.
constexpr int kDrawsPerId = 8;

}  // namespace

Engine::Engine(std::function<std::uint32_t()> drawId) : drawId_(std::move(drawId)) {}

std::uint32_t Engine::newRequestId() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::uint32_t id = 0;
    for (int draw = 0; draw < kDrawsPerId; ++draw) {
        id = drawId_ ? drawId_() : nextCountedId_++;
        if (!idInUse(id))
            break;
    }
    return id;
}

// Answers and results are paired by id: an id still in use would let one
// answer count for two requests.
bool Engine::idInUse(std::uint32_t id) const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const auto& entry) { return entry.first == id; }) ||
           std::any_of(scans_.begin(), scans_.end(),
                       [&](const PairedScan& scan) { return scan.id == id; });
}

void Engine::requestSent(const wire::Datagram& request, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t copy = 1; copy < kCopyDelays.size(); ++copy)
        copies_.emplace(now + kCopyDelays[copy], request);
    const auto header = wire::decodeHeader(request.data(), request.size());
    if (header && header->type == wire::MessageType::ScanRequest)
        pairScan(header->id);
}

Engine::PairedScan* Engine::pairedScan(std::uint32_t id) {
    for (PairedScan& scan : scans_) {
        if (scan.id == id)
            return &scan;
    }
    return nullptr;
}

void Engine::pairScan(std::uint32_t id) {
    // A scan sent again under an id already kept starts afresh.
    const auto old = std::find_if(scans_.begin(), scans_.end(),
                                  [&](const PairedScan& scan) { return scan.id == id; });
    if (old != scans_.end()) {
        pairedMacs_ -= old->passed.size();
        scans_.erase(old);
    }
    if (scans_.size() >= kPairedScans)
        forgetOldestScan();
    scans_.push_back(PairedScan{id, {}});
}

void Engine::forgetOldestScan() {
    pairedMacs_ -= scans_.front().passed.size();
    scans_.pop_front();
}

void Engine::markPassed(PairedScan& scan, std::uint64_t mac) {
    while (pairedMacs_ >= kMaxPairedMacs && &scans_.front() != &scan)
        forgetOldestScan();
    // One scan alone at the bound: its further devices pass unpaired.
    if (pairedMacs_ >= kMaxPairedMacs)
        return;
    scan.passed.insert(mac);
    ++pairedMacs_;
}

std::vector<wire::Datagram> Engine::dueCopies(Clock::time_point now) {
    std::vector<wire::Datagram> due;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto end = copies_.upper_bound(now);
    for (auto it = copies_.begin(); it != end; ++it)
        due.push_back(std::move(it->second));
    copies_.erase(copies_.begin(), end);
    return due;
}

void Engine::receive(const std::uint8_t* data, std::size_t size) {
    const auto header = wire::decodeHeader(data, size);
    if (!header)
        return;
    int notification = 0;
    if (header->type == wire::MessageType::ScanAnswer) {
        const auto answer = wire::decodeScanAnswer(data, size);
        if (!answer)
            return;
        const std::uint64_t mac = base::MacKey(base::MacFrom(answer->abMacAddr));
        std::lock_guard<std::mutex> lock(mutex_);
        PairedScan* scan = pairedScan(header->id);
        if (scan && scan->passed.count(mac))
            return;
        // Dropped here, the answer was not passed on: a later copy may be.
        if (answers_.size() >= kMaxAnswers)
            return;
        answers_.push_back(*answer);
        if (scan)
            markPassed(*scan, mac);
        notification = ZOVA_NOTIFY_RESPONSE;
    } else if (header->type == wire::MessageType::ConfigureResult) {
        const auto result = wire::decodeConfigureResult(data, size);
        if (!result)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        notification = acceptResult(header->id, *result);
    }
    if (notification)
        notify(notification);
}

int Engine::acceptResult(std::uint32_t id, const wire::ConfigureResult& result) {
    const auto match = std::find(pending_.begin(), pending_.end(), std::make_pair(id, result.mac));
    if (match == pending_.end())
        return 0;
    pending_.erase(match);
    if (result.outcome == wire::ConfigureOutcome::Accepted)
        return ZOVA_NOTIFY_RESCAN;
    if (rejected_.size() >= kMaxRejected)
        rejected_.pop_front();
    rejected_.push_back(result.mac);
    return ZOVA_NOTIFY_INVALID_PASSWORD;
}

bool Engine::takeAnswer(ZOVA_ModuleScanResponseType& answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (answers_.empty())
        return false;
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

bool Engine::firstRejected(base::Mac& mac) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (rejected_.empty())
        return false;
    mac = rejected_.front();
    return true;
}

void Engine::dropFirstRejected() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!rejected_.empty())
        rejected_.pop_front();
}

void Engine::expectConfigureResult(std::uint32_t id, const base::Mac& mac) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pending_.size() >= kMaxPending)
        pending_.pop_front();
    pending_.emplace_back(id, mac);
}

void Engine::notify(int notification) {
    if (const ZOVA_CallBackType callback = callback_.load())
        callback(notification);
}

}  // namespace zova
