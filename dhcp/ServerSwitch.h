// The recovery server's on/off switch and its worker, over the server, the
// running flag and the worker thread that the main dialog owns. Plain C++, so
// the concurrency test runs this very code under ThreadSanitizer.
#ifndef VANTREL_DHCP_SERVERSWITCH_H
#define VANTREL_DHCP_SERVERSWITCH_H

#include "dhcp/DhcpServer.h"

#include <atomic>
#include <functional>
#include <thread>

namespace dhcp {

// The worker's loop: one Poll, then 50 ms of sleep, while running is set.
void RunServerWorker(CDhcpServer& server, const std::atomic<bool>& running);

// The same loop, handing every reply sent (an OFFER, ACK or NAK in
// server.m_reply) to onReply on the worker's thread.
void RunServerWorker(CDhcpServer& server, const std::atomic<bool>& running,
                     const std::function<void(const CDhcpPacket& reply)>& onReply);

// Sets running and starts worker on work. A thread that cannot start leaves
// running set without a worker.
void StartServerWorker(std::atomic<bool>& running, std::thread& worker,
                       const std::function<void()>& work);

// Clears running, waits for the worker, then closes the server's socket;
// nothing when the server is off and no worker is left.
void StopServer(CDhcpServer& server, std::atomic<bool>& running, std::thread& worker);

}  // namespace dhcp

#endif  // VANTREL_DHCP_SERVERSWITCH_H
