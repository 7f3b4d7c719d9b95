// The copies of a scan while the scanning library is flooded: plays the one
// device a scan reaches and, from the scan's first copy on, floods the
// scanner's socket with junk datagrams at a steady rate, noting when each
// further copy of that scan arrives. A receiver that sends due copies between
// datagrams keeps them on time; one that waits for its socket to empty sends
// them when the flood stops.
//
// Usage: copy_flood PORT_FILE RATE SECONDS
// Binds 127.0.0.1 only and sends only to the scan's sender on loopback;
// writes its port to PORT_FILE (whole, by rename), waits up to 60 s for a
// scan, floods at RATE datagrams a second (at most 1,000,000) for SECONDS (at
// most 10), then listens 2 s more. Prints each copy's time after the first
// beside its due time, and the rate the flood reached.
#include "simulator/UdpSocket.h"
#include "zovadll/Engine.h"
#include "zovadll/Wire.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Scan {
    std::uint32_t id;
    zova::Endpoint sender;
};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: copy_flood PORT_FILE RATE SECONDS\n");
        return 2;
    }
    const long rate = std::atol(argv[2]);
    const double seconds = std::atof(argv[3]);
    if (rate < 1 || rate > 1000000 || seconds <= 0 || seconds > 10) {
        std::fprintf(stderr, "copy_flood: RATE 1..1000000, SECONDS up to 10\n");
        return 2;
    }
    devsim::UdpSocket socket;
    std::string error;
    if (!socket.Bind({0x7F000001, 0}, error)) {
        std::fprintf(stderr, "copy_flood: %s\n", error.c_str());
        return 1;
    }
    const std::string portFile = argv[1];
    if (std::FILE* f = std::fopen((portFile + ".tmp").c_str(), "w")) {
        std::fprintf(f, "%u\n", socket.LocalPort());
        std::fclose(f);
        std::rename((portFile + ".tmp").c_str(), portFile.c_str());
    }

    // The scan's first copy, then its further copies with their arrival.
    std::optional<Scan> scan;
    Clock::time_point first;
    std::vector<Clock::time_point> copies;
    std::mutex mutex;
    std::atomic<bool> stop{false};
    const auto listen = [&] {
        std::uint8_t buffer[zova::wire::kMaxDatagram + 1];
        while (!stop) {
            if (!socket.WaitReadable(50))
                continue;
            zova::Endpoint from{};
            const long size = socket.Receive(buffer, sizeof buffer, from);
            const auto at = Clock::now();
            const auto header =
                size > 0 ? zova::wire::DecodeHeader(buffer, static_cast<std::size_t>(size))
                         : std::nullopt;
            if (!header || header->type != zova::wire::MessageType::ScanRequest ||
                !zova::IsLoopback(from.address))
                continue;
            std::lock_guard<std::mutex> lock(mutex);
            if (!scan) {
                scan = Scan{header->id, from};
                first = at;
            } else if (header->id == scan->id) {
                copies.push_back(at);
            }
        }
    };
    std::thread listener(listen);

    const auto waitUntil = Clock::now() + 60s;
    std::optional<Scan> target;
    while (!target && Clock::now() < waitUntil) {
        std::this_thread::sleep_for(1ms);
        std::lock_guard<std::mutex> lock(mutex);
        target = scan;
    }
    if (!target) {
        stop = true;
        listener.join();
        std::fprintf(stderr, "copy_flood: no scan arrived\n");
        return 1;
    }

    // Paced in 1 ms slots, so the rate holds across the whole flood.
    const std::uint8_t junk[8] = {'J', 'U', 'N', 'K', 'J', 'U', 'N', 'K'};
    const auto start = Clock::now();
    const auto end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    long sent = 0;
    for (auto now = start; now < end; now = Clock::now()) {
        const long due = static_cast<long>(Ms(now - start) * rate / 1000.0);
        while (sent < due) {
            socket.SendTo(junk, sizeof junk, target->sender);
            ++sent;
        }
        std::this_thread::sleep_until(now + 1ms);
    }
    const double floodSeconds = Ms(Clock::now() - start) / 1000.0;
    std::this_thread::sleep_for(2s);
    stop = true;
    listener.join();

    std::printf(
        "flood: %ld junk datagrams in %.2f s (%.0f a second), from %.0f ms after the "
        "first copy\n",
        sent, floodSeconds, sent / floodSeconds, Ms(start - first));
    std::printf("%6s %10s %12s %10s\n", "copy", "due ms", "arrived ms", "late ms");
    for (std::size_t copy = 1; copy < zova::Engine::kCopyDelays.size(); ++copy) {
        const double due = static_cast<double>(zova::Engine::kCopyDelays[copy].count());
        if (copy - 1 < copies.size()) {
            const double arrived = Ms(copies[copy - 1] - first);
            std::printf("%6zu %10.0f %12.1f %10.1f\n", copy + 1, due, arrived, arrived - due);
        } else {
            std::printf("%6zu %10.0f %12s %10s\n", copy + 1, due, "-", "-");
        }
    }
    return 0;
}
