#include "base/Address.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "dhcp/ServerSwitch.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>

namespace cli {

namespace {

std::mutex g_stopMutex;
std::condition_variable g_stopChanged;
bool g_stop = false;

// Runs on a thread of the system's own; the main thread does the stopping.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(g_stopMutex);
        g_stop = true;
    }
    g_stopChanged.notify_all();
    return TRUE;
}

std::string ErrorText(int error) {
    char text[256] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return "error " + std::to_string(error) + (reason.empty() ? "" : ": " + reason);
}

const char* ReplyName(std::uint8_t type) {
    switch (type) {
    case dhcp::kOffer:
        return "OFFER";
    case dhcp::kAck:
        return "ACK";
    default:
        return "NAK";
    }
}

// "OFFER 02-6B-D4-10-00-2A -> 10.200.1.42 server 10.200.1.254"
void PrintReply(const CDhcpPacket& reply) {
    Out(std::string(ReplyName(reply.messageType)) + ' ' +
        base::MacText(base::MacFrom(reply.chaddr)) + " -> " +
        base::Ipv4Text(base::Ipv4From(reply.yiaddr)) + " server " +
        base::Ipv4Text(base::Ipv4From(reply.serverId)) + '\n');
}

}  // namespace

int RunRecover(const Command& command) {
    dhcp::ServerSwitch server(&PrintReply);
    if (!server.On()) {
        Err("DHCP server init failed: " + ErrorText(server.InitError()) + '\n');
        return kDhcpInitFailed;
    }
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
    Out("DHCP server running on port 67; Ctrl-C stops it\n");
    {
        std::unique_lock<std::mutex> lock(g_stopMutex);
        if (command.forMinutes > 0)
            g_stopChanged.wait_for(
                lock, std::chrono::milliseconds(static_cast<long long>(command.forMinutes * 60000)),
                [] { return g_stop; });
        else
            g_stopChanged.wait(lock, [] { return g_stop; });
    }
    server.Off();
    Out("DHCP server stopped\n");
    return kSuccess;
}

}  // namespace cli
