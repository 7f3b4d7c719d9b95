#include "dhcp/ServerSwitch.h"

#include <chrono>
#include <system_error>

namespace dhcp {

void RunServerWorker(CDhcpServer& server, const std::atomic<bool>& running) {
    RunServerWorker(server, running, nullptr);
}

void RunServerWorker(CDhcpServer& server, const std::atomic<bool>& running,
                     const std::function<void(const CDhcpPacket& reply)>& onReply) {
    while (running) {
        if (server.Poll() == 1 && onReply)
            onReply(server.m_reply);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void StartServerWorker(std::atomic<bool>& running, std::thread& worker,
                       const std::function<void()>& work) {
    running = true;
    try {
        worker = std::thread(work);
    } catch (const std::system_error&) {
        // Left on without a worker, as a failed thread start leaves it.
    }
}

void StopServer(CDhcpServer& server, std::atomic<bool>& running, std::thread& worker) {
    if (!running && !worker.joinable())
        return;
    running = false;
    // The worker ends within one poll and one pause. Waiting for it before
    // closing the socket means no poll ever acts on a closed (or reused)
    // handle, and no second worker can overlap it.
    if (worker.joinable())
        worker.join();
    server.Cleanup();
}

}  // namespace dhcp
