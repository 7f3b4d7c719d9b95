#include "zovadll/ScanTally.h"

#include "zova/zova.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zova {

void ScanTally::CopyLeft(Clock::time_point at) {
    copiesLeft_.push_back(at);
}

void ScanTally::CopyNotSent() {
    ++copiesNotSent_;
}

void ScanTally::Add(std::uint64_t device, Clock::time_point at) {
    // An answer means a copy left, even when its sender has not yet said so.
    const std::size_t before = std::max<std::size_t>(copiesHeardAfter_, 1);
    devices_.emplace(device, Heard{static_cast<std::uint8_t>(before), 1});
    latestFirstAnswer_ = std::max(latestFirstAnswer_.value_or(at), at);
}

bool ScanTally::CountRepeat(std::uint64_t device) {
    const auto found = devices_.find(device);
    if (found == devices_.end())
        return false;
    std::uint8_t& answers = found->second.answers;
    if (answers < std::numeric_limits<std::uint8_t>::max())
        ++answers;
    return true;
}

std::optional<bool> ScanTally::TakeVerdict(Clock::time_point now) {
    if (judged_ || copiesLeft_.size() + copiesNotSent_ < kRequestCopies)
        return std::nullopt;
    if (!copiesLeft_.empty()) {
        const Clock::duration spread =
            latestFirstAnswer_
                ? std::max(*latestFirstAnswer_ - copiesLeft_.front(), Clock::duration{})
                : Clock::duration{};
        if (now < copiesLeft_.back() + spread + kSettle)
            return std::nullopt;
    }
    judged_ = true;
    return AnswersLost();
}

double ScanTally::ShareMissing() const {
    const std::size_t copies = copiesLeft_.size();
    double expected = 0;
    double missing = 0;
    for (const auto& entry : devices_) {
        const Heard& heard = entry.second;
        if (heard.copiesBefore >= copies)
            continue;
        // Its answers to the copies that left after its first one.
        const double due = static_cast<double>(copies - heard.copiesBefore);
        expected += due;
        missing += std::max(0.0, due - (heard.answers - 1));
    }
    return expected == 0 ? 0 : missing / expected;
}

bool ScanTally::AnswersLost() const {
    if (refused_)
        return true;
    const double allLost = std::pow(ShareMissing(), static_cast<double>(copiesLeft_.size()));
    return static_cast<double>(devices_.size()) * allLost >= kMissingDevices * (1 - allLost);
}

}  // namespace zova
