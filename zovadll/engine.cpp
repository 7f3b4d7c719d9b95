#include "zovadll/engine.h"

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
        // A result is paired by id and MAC: an id still awaiting one would
        // let it answer two requests.
        const bool awaited = std::any_of(pending_.begin(), pending_.end(),
                                         [&](const auto& entry) { return entry.first == id; });
        if (!awaited)
            break;
    }
    return id;
}

void Engine::requestSent(const wire::Datagram& request, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t copy = 1; copy < kCopyDelays.size(); ++copy)
        copies_.emplace(now + kCopyDelays[copy], request);
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
        std::lock_guard<std::mutex> lock(mutex_);
        if (answers_.size() >= kMaxAnswers)
            return;
        answers_.push_back(*answer);
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

bool Engine::firstRejected(wire::Mac& mac) {
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

void Engine::expectConfigureResult(std::uint32_t id, const wire::Mac& mac) {
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
