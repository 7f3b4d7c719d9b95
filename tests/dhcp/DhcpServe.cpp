// The recovery server as a stand-alone program, the peer of real DHCP
// clients in the namespace tests. Serves for at most the given seconds
// (default 30, at most 120) and prints how many replies it sent.
#include "dhcp/DhcpServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    if (seconds < 1 || seconds > 120)
        seconds = 30;
    if (!std::getenv("VANTREL_NETNS")) {
        std::puts("refusing to serve outside a test namespace (VANTREL_NETNS unset)");
        return 2;
    }
    CDhcpServer server;
    if (!server.Init()) {
        std::puts("init failed");
        return 1;
    }
    std::puts("serving");
    std::fflush(stdout);
    int replies = 0;
    for (int i = 0; i < seconds * 20; ++i) {
        replies += server.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.Cleanup();
    std::printf("replies %d\n", replies);
    return 0;
}
