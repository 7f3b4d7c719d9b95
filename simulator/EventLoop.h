// Receives requests, writes the log, and sends each answer when it is due.
#ifndef VANTREL_SIMULATOR_EVENTLOOP_H
#define VANTREL_SIMULATOR_EVENTLOOP_H

#include "simulator/Responder.h"
#include "simulator/UdpSocket.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <queue>
#include <vector>

namespace devsim {

class EventLoop {
public:
    // log receives one JSON line per datagram handled and is flushed each
    // time, so that a test can read it while the simulator runs.
    EventLoop(Responder& responder, UdpSocket& socket, std::FILE* log, bool anyDestination);
    void Run(const std::atomic<bool>& stop);
    // Called on every turn of the loop, at least every 100 ms.
    void SetTick(std::function<void()> tick) { tick_ = std::move(tick); }

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point due;
        std::uint64_t order;
        zova::Endpoint to;
        zova::wire::Datagram datagram;
        bool operator>(const Pending& other) const {
            return due != other.due ? due > other.due : order > other.order;
        }
    };

    void ReceiveWaiting();
    void SendDue();
    void WriteLog(const std::string& line);

    Responder& responder_;
    UdpSocket& socket_;
    std::FILE* log_;
    bool anyDestination_;
    std::function<void()> tick_;
    std::uint64_t order_ = 0;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> pending_;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_EVENTLOOP_H
