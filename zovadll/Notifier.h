// Calls the caller's callback with the library's notifications on a thread of
// its own, in the order they were raised, so that the receiver thread never
// waits for the caller: the tool's callback posts a message, which under Wine
// is a round trip to the wineserver, and the wineserver is busy with the
// window's list while answers stream in. Plain C++, tested natively.
#ifndef VANTREL_ZOVADLL_NOTIFIER_H
#define VANTREL_ZOVADLL_NOTIFIER_H

#include "zova/zova.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace zova {

class Notifier {
public:
    Notifier();
    // Calls back what was flushed, then ends the thread.
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    // The function called from now on; null: none.
    void SetCallback(ZOVA_CallBackType callback) { callback_.store(callback); }

    // Queue and Flush belong to one thread, the receiver: it queues while it
    // drains its socket and flushes once it stops, so that the notifying
    // thread is woken once for a whole batch.
    void Queue(int notification);
    void Flush();

private:
    // Runs of one value, oldest first: a scan's answers take one entry.
    using Runs = std::deque<std::pair<int, std::size_t>>;
    static void Append(Runs& runs, int notification, std::size_t count);
    void Run();

    Runs queued_;
    std::mutex mutex_;
    std::condition_variable flushed_;
    Runs ready_;
    bool stopping_ = false;
    std::atomic<ZOVA_CallBackType> callback_{nullptr};
    std::thread thread_;
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_NOTIFIER_H
