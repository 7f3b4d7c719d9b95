#include "simulator/EventLoop.h"

#include "simulator/JsonLine.h"

#include <algorithm>
#include <optional>

namespace devsim {
namespace {

// Short enough to notice a stop request promptly.
constexpr int kMaxWaitMs = 100;
// Requests handled before due answers get their turn.
constexpr int kBatch = 64;
constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

}  // namespace

EventLoop::EventLoop(Responder& responder, UdpSocket& socket, std::FILE* log, bool anyDestination)
    : responder_(responder), socket_(socket), log_(log), anyDestination_(anyDestination) {}

void EventLoop::Run(const std::atomic<bool>& stop) {
    while (!stop.load()) {
        int waitMs = kMaxWaitMs;
        if (!pending_.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                pending_.top().due - Clock::now());
            waitMs = static_cast<int>(std::clamp<long long>(left.count(), 0, kMaxWaitMs));
        }
        if (socket_.WaitReadable(waitMs))
            ReceiveWaiting();
        SendDue();
        if (tick_)
            tick_();
    }
}

void EventLoop::ReceiveWaiting() {
    // One byte more than the largest valid datagram: an oversized one stays
    // recognisable instead of being cut to a valid length.
    std::uint8_t buffer[zova::wire::kMaxDatagram + 1];
    for (int i = 0; i < kBatch; ++i) {
        zova::Endpoint from{};
        const long size = socket_.Receive(buffer, sizeof buffer, from);
        if (size < 0)
            return;
        Handled handled = responder_.Handle(buffer, static_cast<std::size_t>(size), from);
        WriteLog(handled.logLine);
        const Clock::time_point now = Clock::now();
        std::optional<zova::Endpoint> refused;  // logged once per request
        for (Reply& reply : handled.replies) {
            const zova::Endpoint to =
                reply.broadcast ? zova::Endpoint{kLimitedBroadcast, from.port} : from;
            if (!anyDestination_ && !zova::IsLoopback(to.address)) {
                refused = to;
                continue;
            }
            pending_.push({now + reply.delay, order_++, to, std::move(reply.datagram)});
        }
        if (refused)
            WriteLog(JsonLine().Add("type", "refused").Add("to", EndpointText(*refused)).Str());
    }
}

void EventLoop::SendDue() {
    const Clock::time_point now = Clock::now();
    while (!pending_.empty() && pending_.top().due <= now) {
        const Pending& next = pending_.top();
        socket_.SendTo(next.datagram.data(), next.datagram.size(), next.to);
        pending_.pop();
    }
}

void EventLoop::WriteLog(const std::string& line) {
    std::fputs(line.c_str(), log_);
    std::fputc('\n', log_);
    std::fflush(log_);
}

}  // namespace devsim
