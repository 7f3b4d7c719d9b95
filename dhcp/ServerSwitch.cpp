#include "dhcp/ServerSwitch.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace dhcp {

ServerSwitch::ServerSwitch(ReplySink onReply) : m_onReply(std::move(onReply)) {}

ServerSwitch::~ServerSwitch() {
    Off();
}

bool ServerSwitch::On() {
    if (m_bDhcpServerRunning)
        return m_dhcpServer.m_port.IsOpen();
    const bool opened = m_dhcpServer.Init();
    m_bDhcpServerRunning = true;
    try {
        m_worker = std::thread(&ServerSwitch::DhcpServerThread, this);
    } catch (const std::system_error&) {
        // Left on without a worker, as a failed thread start leaves it.
    }
    return opened;
}

void ServerSwitch::Off() {
    if (!m_bDhcpServerRunning && !m_worker.joinable())
        return;
    m_bDhcpServerRunning = false;
    if (m_worker.joinable())
        m_worker.join();
    m_dhcpServer.Cleanup();
}

void ServerSwitch::DhcpServerThread() {
    while (m_bDhcpServerRunning) {
        if (m_dhcpServer.Poll() == 1 && m_onReply)
            m_onReply(m_dhcpServer.m_reply);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace dhcp
