// The recovery server's on/off switch: the server, its running flag and its
// worker thread, owned together so that no caller can stop one without the
// others. Plain C++, so the concurrency test runs this very code under
// ThreadSanitizer; the main dialog and `vantrel-cli recover` each own one.
#ifndef VANTREL_DHCP_SERVERSWITCH_H
#define VANTREL_DHCP_SERVERSWITCH_H

#include "dhcp/DhcpServer.h"

#include <atomic>
#include <functional>
#include <thread>

namespace dhcp {

class ServerSwitch {
public:
    // Gets every reply sent (an OFFER, ACK or NAK), on the worker's thread.
    using ReplySink = std::function<void(const CDhcpPacket& reply)>;

    explicit ServerSwitch(ReplySink onReply = nullptr);
    // Switches off: no worker and no socket outlive the switch.
    ~ServerSwitch();
    ServerSwitch(const ServerSwitch&) = delete;
    ServerSwitch& operator=(const ServerSwitch&) = delete;

    // Off to on: opens the server's socket, then starts the worker. False when
    // the socket could not be opened (InitError says why); the switch is on
    // all the same, its worker answering nothing, until switched off. A
    // thread that cannot start leaves it on without a worker. When on
    // already, only says whether the socket is open.
    bool On();
    // On to off: clears the flag, waits for the worker (at most one poll and
    // one pause), then closes the socket, so that no poll acts on a closed or
    // reused handle and no second worker overlaps this one.
    void Off();
    bool IsOn() const { return m_bDhcpServerRunning; }
    int InitError() const { return m_dhcpServer.m_initError; }

private:
    // The worker: one Poll, then 50 ms of sleep, while the switch is on.
    void DhcpServerThread();

    CDhcpServer m_dhcpServer;
    std::atomic<bool> m_bDhcpServerRunning{false};
    std::thread m_worker;
    const ReplySink m_onReply;
};

}  // namespace dhcp

#endif  // VANTREL_DHCP_SERVERSWITCH_H
