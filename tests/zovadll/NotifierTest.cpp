// The library's notifications on their way to the caller's callback.
#include "zovadll/Notifier.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <vector>

namespace {

std::mutex g_mutex;
std::vector<int> g_seen;
std::shared_future<void> g_released;
bool g_heldTooLong = false;

// The caller's thread stuck for a while, as the window's is while it sorts.
void ZOVA_CALL Stuck(int notification) {
    if (!g_heldTooLong &&
        g_released.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        g_heldTooLong = true;  // once: a receiver that waits would then go on
    std::lock_guard<std::mutex> lock(g_mutex);
    g_seen.push_back(notification);
}

// Catches a receiver that waits for the callback (it would stay stuck until
// the callback gives up), and notifications lost, doubled or reordered
// between the two threads, runs of one value included.
TEST(Notifier, TheReceiverNeverWaitsForTheCallbackAndEveryNotificationArrivesInOrder) {
    std::promise<void> release;
    g_released = release.get_future().share();
    std::vector<int> sent;
    {
        zova::Notifier notifier;
        notifier.SetCallback(&Stuck);
        for (int batch = 0; batch < 200; ++batch) {
            for (int notification : {1, 1, 1, 3, 1, 2, 2, 1, 4}) {
                notifier.Queue(notification);
                sent.push_back(notification);
            }
            notifier.Flush();
        }
        release.set_value();
    }  // delivers everything flushed before it ends
    EXPECT_FALSE(g_heldTooLong) << "the receiver waited for the callback";
    EXPECT_EQ(g_seen, sent);
}

}  // namespace
