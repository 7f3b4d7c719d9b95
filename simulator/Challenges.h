// The challenges a salted device offered in its scan answers. Each one is
// good for a single proof within its lifetime, so a proof seen on the network
// cannot be sent again, and one worked out from a scan answer alone never
// matches.
#ifndef VANTREL_SIMULATOR_CHALLENGES_H
#define VANTREL_SIMULATOR_CHALLENGES_H

#include <chrono>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace devsim {

class Challenges {
public:
    using Clock = std::chrono::steady_clock;
    // Long enough for a user who leaves the configure dialog open a while.
    static constexpr std::chrono::minutes kLifetime{30};
    // Twenty scans' worth, each with the library's repeats; a flood of scans
    // pushes the oldest out, which costs the user a rescan, nothing more.
    static constexpr std::size_t kKept = 64;
    // Characters after the two salt characters: the rest of the salt field.
    static constexpr std::size_t kLength = 32;

    // A fresh challenge of kLength lowercase hexadecimal digits, kept from now.
    std::string Issue(std::random_device& random, Clock::time_point now);
    // Spends the first live challenge that proves, if any.
    bool Redeem(const std::function<bool(const std::string&)>& proves, Clock::time_point now);

private:
    void ForgetExpired(Clock::time_point now);

    // Oldest first. A vector, since an empty deque already allocates and a
    // generated fleet has millions of devices without salt.
    std::vector<std::pair<Clock::time_point, std::string>> issued_;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_CHALLENGES_H
