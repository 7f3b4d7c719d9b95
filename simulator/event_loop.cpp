#include "simulator/event_loop.h"

#include "simulator/json_line.h"

#include <algorithm>

namespace devsim {
namespace {

// Short enough to notice a stop request promptly.
constexpr int kMaxWaitMs = 100;
// Requests handled before due answers get their turn.
constexpr int kBatch = 64;

}  // namespace

EventLoop::EventLoop(Responder& responder, UdpSocket& socket, std::FILE* log, bool anyDestination)
    : responder_(responder), socket_(socket), log_(log), anyDestination_(anyDestination) {}

void EventLoop::run(const std::atomic<bool>& stop) {
    while (!stop.load()) {
        int waitMs = kMaxWaitMs;
        if (!pending_.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                pending_.top().due - Clock::now());
            waitMs = static_cast<int>(std::clamp<long long>(left.count(), 0, kMaxWaitMs));
        }
        if (socket_.waitReadable(waitMs))
            receiveWaiting();
        sendDue();
        if (tick_)
            tick_();
    }
}

void EventLoop::receiveWaiting() {
    // One byte more than the largest valid datagram: an oversized one stays
    // recognisable instead of being cut to a valid length.
    std::uint8_t buffer[zova::wire::kMaxDatagram + 1];
    for (int i = 0; i < kBatch; ++i) {
        zova::Endpoint from{};
        const long size = socket_.receive(buffer, sizeof buffer, from);
        if (size < 0)
            return;
        Handled handled =
            responder_.handle(buffer, static_cast<std::size_t>(size), endpointText(from));
        writeLog(handled.logLine);
        if (!anyDestination_ && !zova::isLoopback(from.address)) {
            writeLog(JsonLine().add("type", "refused").add("to", endpointText(from)).str());
            continue;
        }
        const Clock::time_point now = Clock::now();
        for (Reply& reply : handled.replies)
            pending_.push({now + reply.delay, order_++, from, std::move(reply.datagram)});
    }
}

void EventLoop::sendDue() {
    const Clock::time_point now = Clock::now();
    while (!pending_.empty() && pending_.top().due <= now) {
        const Pending& next = pending_.top();
        socket_.sendTo(next.datagram.data(), next.datagram.size(), next.to);
        pending_.pop();
    }
}

void EventLoop::writeLog(const std::string& line) {
    std::fputs(line.c_str(), log_);
    std::fputc('\n', log_);
    std::fflush(log_);
}

}  // namespace devsim
