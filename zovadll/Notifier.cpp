#include "zovadll/Notifier.h"

namespace zova {

Notifier::Notifier() : thread_([this] { Run(); }) {}

Notifier::~Notifier() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    flushed_.notify_one();
    thread_.join();
}

void Notifier::Append(Runs& runs, int notification, std::size_t count) {
    if (!runs.empty() && runs.back().first == notification)
        runs.back().second += count;
    else
        runs.emplace_back(notification, count);
}

void Notifier::Queue(int notification) {
    Append(queued_, notification, 1);
}

void Notifier::Flush() {
    if (queued_.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& run : queued_)
            Append(ready_, run.first, run.second);
    }
    queued_.clear();
    flushed_.notify_one();
}

void Notifier::Run() {
    for (;;) {
        Runs batch;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            flushed_.wait(lock, [this] { return stopping_ || !ready_.empty(); });
            if (ready_.empty())
                return;
            batch.swap(ready_);
        }
        for (const auto& [notification, count] : batch) {
            for (std::size_t i = 0; i < count; ++i) {
                if (const ZOVA_CallBackType callback = callback_.load())
                    callback(notification);
            }
        }
    }
}

}  // namespace zova
