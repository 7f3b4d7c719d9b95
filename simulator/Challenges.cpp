#include "simulator/Challenges.h"

#include <algorithm>
#include <cstdint>

namespace devsim {

std::string Challenges::Issue(std::random_device& random, Clock::time_point now) {
    ForgetExpired(now);
    static const char kHex[] = "0123456789abcdef";
    std::string challenge;
    while (challenge.size() < kLength) {
        std::uint32_t bits = random();
        for (int i = 0; i < 8 && challenge.size() < kLength; ++i, bits >>= 4)
            challenge += kHex[bits & 15];
    }
    if (issued_.size() >= kKept)
        issued_.erase(issued_.begin());
    issued_.emplace_back(now, challenge);
    return challenge;
}

bool Challenges::Redeem(const std::function<bool(const std::string&)>& proves,
                        Clock::time_point now) {
    ForgetExpired(now);
    const auto match = std::find_if(issued_.begin(), issued_.end(),
                                    [&](const auto& entry) { return proves(entry.second); });
    if (match == issued_.end())
        return false;
    issued_.erase(match);
    return true;
}

void Challenges::ForgetExpired(Clock::time_point now) {
    const auto live = std::find_if(issued_.begin(), issued_.end(), [&](const auto& entry) {
        return now - entry.first < kLifetime;
    });
    issued_.erase(issued_.begin(), live);
}

}  // namespace devsim
