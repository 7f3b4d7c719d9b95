#include "zovadll/Engine.h"

#include <algorithm>
#include <iterator>

namespace zova {

namespace {

// A source that keeps giving ids in use cannot hold a request back for long.
constexpr int kDrawsPerId = 8;

// Tells one device's answer from another's, so that a device answering every
// copy passes once while two devices with one MAC (twins) pass both: they
// differ in what they report or where they answer from. A salted device
// offers a fresh challenge in every answer; only its two salt characters
// count. FNV-1a over the record and the sender.
std::uint64_t AnswerKey(ZOVA_ModuleScanResponseType answer, const Endpoint& sender) {
    std::fill(std::begin(answer.szPasswordSalt) + 2, std::end(answer.szPasswordSalt), '\0');
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    mix(&answer, sizeof answer);
    mix(&sender.address, sizeof sender.address);
    mix(&sender.port, sizeof sender.port);
    return hash;
}

}  // namespace

Engine::Engine(std::function<std::uint32_t()> drawId) : drawId_(std::move(drawId)) {}

std::uint32_t Engine::NewRequestId() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::uint32_t id = 0;
    for (int draw = 0; draw < kDrawsPerId; ++draw) {
        id = drawId_ ? drawId_() : nextCountedId_++;
        if (!IdInUse(id))
            break;
    }
    return id;
}

// Answers and results are paired by id: an id still in use would let one
// answer count for two requests.
bool Engine::IdInUse(std::uint32_t id) const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const auto& entry) { return entry.first == id; }) ||
           std::any_of(scans_.begin(), scans_.end(),
                       [&](const PairedScan& scan) { return scan.id == id; });
}

void Engine::RequestSent(const wire::Datagram& request, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t copy = 1; copy < kCopyDelays.size(); ++copy)
        copies_.emplace(now + kCopyDelays[copy], request);
    const auto header = wire::DecodeHeader(request.data(), request.size());
    if (header && header->type == wire::MessageType::ScanRequest)
        PairScan(header->id);
}

Engine::PairedScan* Engine::FindPairedScan(std::uint32_t id) {
    for (PairedScan& scan : scans_) {
        if (scan.id == id)
            return &scan;
    }
    return nullptr;
}

void Engine::PairScan(std::uint32_t id) {
    // A scan sent again under an id already kept starts afresh.
    const auto old = std::find_if(scans_.begin(), scans_.end(),
                                  [&](const PairedScan& scan) { return scan.id == id; });
    if (old != scans_.end()) {
        pairedMacs_ -= old->passed.size();
        scans_.erase(old);
    }
    if (scans_.size() >= kPairedScans)
        ForgetOldestScan();
    scans_.push_back(PairedScan{id, {}});
}

void Engine::ForgetOldestScan() {
    pairedMacs_ -= scans_.front().passed.size();
    scans_.pop_front();
}

void Engine::MarkPassed(PairedScan& scan, std::uint64_t key) {
    while (pairedMacs_ >= kMaxPairedMacs && &scans_.front() != &scan)
        ForgetOldestScan();
    // One scan alone at the bound: its further devices pass unpaired.
    if (pairedMacs_ >= kMaxPairedMacs)
        return;
    scan.passed.insert(key);
    ++pairedMacs_;
}

std::vector<wire::Datagram> Engine::DueCopies(Clock::time_point now) {
    std::vector<wire::Datagram> due;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto end = copies_.upper_bound(now);
    for (auto it = copies_.begin(); it != end; ++it)
        due.push_back(std::move(it->second));
    copies_.erase(copies_.begin(), end);
    return due;
}

void Engine::Receive(const std::uint8_t* data, std::size_t size, const Endpoint& sender) {
    const auto header = wire::DecodeHeader(data, size);
    if (!header)
        return;
    int notification = 0;
    if (header->type == wire::MessageType::ScanAnswer) {
        const auto answer = wire::DecodeScanAnswer(data, size);
        if (!answer)
            return;
        const std::uint64_t key = AnswerKey(*answer, sender);
        std::lock_guard<std::mutex> lock(mutex_);
        PairedScan* scan = FindPairedScan(header->id);
        if (scan && scan->passed.count(key))
            return;
        // Dropped here, the answer was not passed on: a later copy may be.
        if (answers_.size() >= kMaxAnswers)
            return;
        answers_.push_back(*answer);
        if (scan)
            MarkPassed(*scan, key);
        notification = ZOVA_NOTIFY_RESPONSE;
    } else if (header->type == wire::MessageType::ConfigureResult) {
        const auto result = wire::DecodeConfigureResult(data, size);
        if (!result)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        notification = AcceptResult(header->id, *result);
    }
    if (notification)
        Notify(notification);
}

int Engine::AcceptResult(std::uint32_t id, const wire::ConfigureResult& result) {
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

bool Engine::TakeAnswer(ZOVA_ModuleScanResponseType& answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (answers_.empty())
        return false;
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

bool Engine::FirstRejected(base::Mac& mac) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (rejected_.empty())
        return false;
    mac = rejected_.front();
    return true;
}

void Engine::DropFirstRejected() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!rejected_.empty())
        rejected_.pop_front();
}

void Engine::ExpectConfigureResult(std::uint32_t id, const base::Mac& mac) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pending_.size() >= kMaxPending)
        pending_.pop_front();
    pending_.emplace_back(id, mac);
}

void Engine::Notify(int notification) {
    if (const ZOVA_CallBackType callback = callback_.load())
        callback(notification);
}

}  // namespace zova
