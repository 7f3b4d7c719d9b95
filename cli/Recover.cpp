#include "base/Address.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "dhcp/ServerSwitch.h"

#include <windows.h>

#include <chrono>
#include <string_view>
#include <thread>

namespace cli {

namespace {

std::string ErrorText(int error) {
    char text[256] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    std::string reason(base::Trimmed(std::string_view(text, length)));
    if (!reason.empty() && reason.back() == '.')
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
    CatchInterrupts();
    Out("DHCP server running on port 67; Ctrl-C stops it\n");
    using Clock = std::chrono::steady_clock;
    const auto end = command.forMinutes > 0
                         ? Clock::now() + std::chrono::milliseconds(
                                              static_cast<long long>(command.forMinutes * 60000))
                         : Clock::time_point::max();
    while (!Interrupted() && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Off();
    Out("DHCP server stopped\n");
    return kSuccess;
}

}  // namespace cli
