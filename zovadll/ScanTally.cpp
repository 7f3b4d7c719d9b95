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

ScanTally::Owed ScanTally::AnswersOwed() const {
    const std::size_t copies = copiesLeft_.size();
    Owed owed;
    for (const auto& entry : devices_) {
        const Heard& heard = entry.second;
        if (heard.copiesBefore >= copies)
            continue;
        // Its answers to the copies that left after its first one.
        const std::size_t due = copies - heard.copiesBefore;
        const std::size_t heardLater = heard.answers - 1u;
        owed.answers += due;
        owed.missing += due > heardLater ? due - heardLater : 0;
    }
    return owed;
}

bool ScanTally::AnswersLost() const {
    if (refused_)
        return true;
    const Owed owed = AnswersOwed();
    if (owed.answers == 0)
        return false;
    const double share = static_cast<double>(owed.missing) / static_cast<double>(owed.answers);
    const double allLost = std::pow(share, static_cast<double>(copiesLeft_.size()));
    return static_cast<double>(devices_.size()) * allLost >= kMissingDevices * (1 - allLost);
}

bool ScanTally::ManyAnswersMissing() const {
    const Owed owed = AnswersOwed();
    return owed.missing > 0 && owed.missing * kAskAgainOneIn >= owed.answers;
}

}  // namespace zova
