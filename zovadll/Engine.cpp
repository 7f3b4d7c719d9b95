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

Engine::Engine(std::function<std::uint32_t()> drawId, Notify notify)
    : drawId_(std::move(drawId)), notify_(std::move(notify)) {}

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
                       [&](const ScanTally& scan) { return scan.Id() == id; });
}

void Engine::RequestSent(const wire::Datagram& request, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    ScheduleCopies(request, now, 1);
    const auto header = wire::DecodeHeader(request.data(), request.size());
    if (header && header->type == wire::MessageType::ScanRequest)
        PairScan(header->id);
}

void Engine::ScheduleCopies(const wire::Datagram& request, Clock::time_point first,
                            std::size_t fromCopy) {
    for (std::size_t copy = fromCopy; copy < kCopyDelays.size(); ++copy)
        copies_.emplace(first + kCopyDelays[copy], request);
}

ScanTally* Engine::FindScan(std::uint32_t id) {
    for (ScanTally& scan : scans_) {
        if (scan.Id() == id)
            return &scan;
    }
    return nullptr;
}

void Engine::PairScan(std::uint32_t id) {
    // A scan sent again under an id already kept starts afresh.
    const auto old = std::find_if(scans_.begin(), scans_.end(),
                                  [&](const ScanTally& scan) { return scan.Id() == id; });
    if (old != scans_.end()) {
        pairedDevices_ -= old->Devices();
        scans_.erase(old);
    }
    if (scans_.size() >= kPairedScans)
        ForgetOldestScan();
    scans_.emplace_back(id);
}

void Engine::ForgetOldestScan() {
    pairedDevices_ -= scans_.front().Devices();
    scans_.pop_front();
}

bool Engine::RoomToPair(const ScanTally& scan) {
    while (pairedDevices_ >= kMaxPairedDevices && &scans_.front() != &scan)
        ForgetOldestScan();
    return pairedDevices_ < kMaxPairedDevices;
}

std::optional<Engine::Clock::time_point> Engine::NextCopyDue() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (copies_.empty())
        return std::nullopt;
    return copies_.begin()->first;
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

void Engine::CopySent(const wire::Datagram& copy, bool left, Clock::time_point at) {
    const auto header = wire::DecodeHeader(copy.data(), copy.size());
    if (!header || header->type != wire::MessageType::ScanRequest)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (ScanTally* scan = FindScan(header->id)) {
        if (left)
            scan->CopyLeft(at);
        else
            scan->CopyNotSent();
    }
}

void Engine::SocketEmptied() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (ScanTally& scan : scans_)
        scan.AnswersBeforeCopiesHeard();
}

void Engine::Receive(const std::uint8_t* data, std::size_t size, const Endpoint& sender,
                     Clock::time_point at) {
    const auto header = wire::DecodeHeader(data, size);
    if (!header)
        return;
    int notification = 0;
    if (header->type == wire::MessageType::ScanAnswer) {
        const auto answer = wire::DecodeScanAnswer(data, size);
        if (!answer)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        notification = AcceptAnswer(header->id, *answer, sender, at);
    } else if (header->type == wire::MessageType::ConfigureResult) {
        const auto result = wire::DecodeConfigureResult(data, size);
        if (!result)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        notification = AcceptResult(header->id, *result);
    }
    if (notification && notify_)
        notify_(notification);
}

int Engine::AcceptAnswer(std::uint32_t id, const ZOVA_ModuleScanResponseType& answer,
                         const Endpoint& sender, Clock::time_point at) {
    ScanTally* scan = FindScan(id);
    if (!scan)
        return 0;
    const std::uint64_t device = AnswerKey(answer, sender);
    if (scan->CountRepeat(device))
        return 0;
    // Refused here, the answer was not passed on: a later copy may be.
    if (answers_.size() >= kMaxAnswers) {
        scan->Refused();
        return 0;
    }
    answers_.push_back(answer);
    if (RoomToPair(*scan)) {
        scan->Add(device, at);
        ++pairedDevices_;
    }
    return ZOVA_NOTIFY_RESPONSE;
}

void Engine::JudgeScans(Clock::time_point now) {
    int lost = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (ScanTally& scan : scans_) {
            const std::optional<bool> answersLost = scan.TakeVerdict(now);
            if (!answersLost)
                continue;
            lost += *answersLost ? 1 : 0;
            // A device may have lost its answers to every copy. The newest
            // scan is asked once more (each scan is judged once): by now its
            // other devices are listed, so the receiver keeps up better.
            if (&scan == &scans_.back() && (*answersLost || scan.ManyAnswersMissing()))
                ScheduleCopies(wire::EncodeScanRequest(scan.Id()), now, 0);
        }
    }
    for (; lost > 0 && notify_; --lost)
        notify_(ZOVA_NOTIFY_ANSWERS_LOST);
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

}  // namespace zova
