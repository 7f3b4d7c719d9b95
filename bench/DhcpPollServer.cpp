// The recovery server as the tool's worker runs it: Poll, then sleep 50 ms,
// while the running flag is set. Only for use inside a network namespace
// made for the purpose: it binds 0.0.0.0:67 and broadcasts its replies.
//
// Usage: dhcp_poll_server SECONDS
// Ends after SECONDS (at most 600) or on SIGTERM/SIGINT; prints the number
// of replies sent.
#include "dhcp/DhcpServer.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

std::atomic<bool> running{true};

extern "C" void Stop(int) {
    running = false;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds < 1 || seconds > 600) {
        std::fprintf(stderr, "usage: dhcp_poll_server SECONDS (1 to 600)\n");
        return 2;
    }
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);

    CDhcpServer server;
    if (!server.Init()) {
        std::fprintf(stderr, "dhcp_poll_server: DHCP server init failed\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long replies = 0;
    while (running && std::chrono::steady_clock::now() < end) {
        replies += server.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.Cleanup();
    std::printf("replies %ld\n", replies);
    return 0;
}
