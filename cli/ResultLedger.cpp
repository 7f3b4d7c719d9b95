#include "cli/ResultLedger.h"

#include "zovadll/Engine.h"

#include <algorithm>

namespace cli {

namespace {

template <typename List>
auto FindWaiting(List& waiting, const base::Mac& mac) {
    return std::find_if(waiting.begin(), waiting.end(),
                        [&](const auto& entry) { return entry.mac == mac; });
}

}  // namespace

void ResultLedger::Sent(const base::Mac& mac) {
    tied_.erase(base::MacKey(mac));
    waiting_.push_back({mac, acceptances_});
    // The library forgets the oldest request beyond its bound; so does this.
    if (waiting_.size() > zova::Engine::kMaxPending) {
        waiting_.pop_front();
        untied_ = std::min(untied_, waiting_.size());
    }
}

void ResultLedger::Accepted() {
    if (waiting_.empty())
        return;  // for no request of ours
    ++acceptances_;
    ++untied_;
    TieAcceptances();
}

void ResultLedger::Rejected(const base::Mac& mac) {
    ++rejections_;
    const auto it = FindWaiting(waiting_, mac);
    if (it == waiting_.end())
        return;
    waiting_.erase(it);
    tied_[base::MacKey(mac)] = Reply::kWrongPassword;
    untied_ = std::min(untied_, waiting_.size());
    TieAcceptances();
}

void ResultLedger::TieAcceptances() {
    if (untied_ == 0 || untied_ < waiting_.size())
        return;
    for (const Waiting& entry : waiting_)
        tied_[base::MacKey(entry.mac)] = Reply::kAccepted;
    waiting_.clear();
    untied_ = 0;
}

std::optional<Reply> ResultLedger::ReplyOf(const base::Mac& mac) const {
    const auto tied = tied_.find(base::MacKey(mac));
    if (tied != tied_.end())
        return tied->second;
    const auto waiting = FindWaiting(waiting_, mac);
    if (untied_ > 0 && waiting != waiting_.end() && acceptances_ > waiting->acceptancesBefore)
        return Reply::kSomeDevice;
    return std::nullopt;
}

}  // namespace cli
