// The requests a device carried out lately, with what it answered. The
// library sends each request several times (zova::kRequestCopies), so a
// late copy of an older request can arrive after a newer one: a copy is
// answered again, never carried out twice.
#ifndef VANTREL_SIMULATOR_RECENTREQUESTS_H
#define VANTREL_SIMULATOR_RECENTREQUESTS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace devsim {

template <typename Outcome>
class RecentRequests {
public:
    // The outcome of request id, when it is among those kept.
    std::optional<Outcome> Find(std::uint32_t id) const {
        for (const auto& entry : entries_) {
            if (entry && entry->first == id)
                return entry->second;
        }
        return std::nullopt;
    }
    // Keeps id, forgetting the oldest once kKept are kept.
    void Remember(std::uint32_t id, Outcome outcome) {
        entries_[next_] = std::make_pair(id, outcome);
        next_ = (next_ + 1) % kKept;
    }

private:
    // Far more than a user sends to one device within the library's repeats.
    static constexpr std::size_t kKept = 16;
    std::array<std::optional<std::pair<std::uint32_t, Outcome>>, kKept> entries_{};
    std::size_t next_ = 0;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_RECENTREQUESTS_H
