#include "zovadll/WinsockTransport.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <thread>

namespace zova {
namespace {

// Enough for every answer of a large scan while the tool is busy elsewhere.
constexpr int kReceiveBuffer = 8 * 1024 * 1024;
constexpr int kMaxInterfaces = 64;
// A socket whose send buffer is full refuses a datagram for a moment; it is
// offered again once the socket can take it, a few times, before it counts
// as not sent.
constexpr int kSendAttempts = 4;
constexpr long kSendWaitUs = 20000;

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address);
    result.sin_port = htons(port);
    return result;
}

std::vector<std::uint32_t> BroadcastInterfaces() {
    std::vector<std::uint32_t> addresses;
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (probe == INVALID_SOCKET)
        return addresses;
    INTERFACE_INFO list[kMaxInterfaces];
    DWORD bytes = 0;
    if (WSAIoctl(probe, SIO_GET_INTERFACE_LIST, nullptr, 0, list, sizeof list, &bytes, nullptr,
                 nullptr) == 0) {
        for (DWORD i = 0; i < bytes / sizeof(INTERFACE_INFO); ++i) {
            const ULONG flags = list[i].iiFlags;
            if ((flags & IFF_UP) && (flags & IFF_BROADCAST) && !(flags & IFF_LOOPBACK))
                addresses.push_back(ntohl(list[i].iiAddress.AddressIn.sin_addr.s_addr));
        }
    }
    closesocket(probe);
    return addresses;
}

}  // namespace

SOCKET WinsockTransport::OpenSocket(std::uint32_t localAddress, bool broadcast) {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return s;
    const BOOL on = TRUE;
    u_long nonBlocking = 1;
    const sockaddr_in local = MakeAddress(localAddress, 0);
    if ((broadcast && setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                                 sizeof on) != 0) ||
        ioctlsocket(s, FIONBIO, &nonBlocking) != 0 ||
        bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    // A smaller buffer than asked for still works, so the result is not checked.
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&kReceiveBuffer),
               sizeof kReceiveBuffer);
    return s;
}

bool WinsockTransport::Open(const std::optional<Endpoint>& target) {
    Close();
    if (target) {
        destination_ = MakeAddress(target->address, target->port);
        const SOCKET s = OpenSocket(INADDR_ANY, false);
        if (s != INVALID_SOCKET)
            sockets_.push_back(s);
    } else {
        destination_ = MakeAddress(INADDR_BROADCAST, wire::kDevicePort);
        for (std::uint32_t address : BroadcastInterfaces()) {
            const SOCKET s = OpenSocket(address, true);
            if (s != INVALID_SOCKET)
                sockets_.push_back(s);
        }
    }
    return !sockets_.empty();
}

void WinsockTransport::Close() {
    for (SOCKET s : sockets_)
        closesocket(s);
    sockets_.clear();
}

bool WinsockTransport::Send(const wire::Datagram& datagram) {
    // One send at a time: Wine refuses a send on a non-blocking socket while
    // another thread's is under way (WSAEWOULDBLOCK), and the datagram was lost.
    std::lock_guard<std::mutex> lock(sendMutex_);
    bool sent = false;
    for (SOCKET s : sockets_)
        sent = SendOn(s, datagram) || sent;
    return sent;
}

bool WinsockTransport::SendOn(SOCKET s, const wire::Datagram& datagram) {
    for (int attempt = 0; attempt < kSendAttempts; ++attempt) {
        const int result = sendto(
            s, reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0,
            reinterpret_cast<const sockaddr*>(&destination_), sizeof destination_);
        if (result == static_cast<int>(datagram.size()))
            return true;
        if (result != SOCKET_ERROR || WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        timeval timeout{0, kSendWaitUs};
        select(0, nullptr, &writable, nullptr, &timeout);
    }
    return false;
}

bool WinsockTransport::Receive(std::chrono::steady_clock::time_point until, const Sink& sink) {
    using std::chrono::steady_clock;
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(until - steady_clock::now());
    const long waitUs = static_cast<long>(std::max<long long>(left.count(), 0));
    if (sockets_.empty()) {
        std::this_thread::sleep_until(until);
        return true;
    }
    fd_set readable;
    FD_ZERO(&readable);
    for (SOCKET s : sockets_)
        FD_SET(s, &readable);
    timeval timeout{waitUs / 1000000, waitUs % 1000000};
    const int ready = select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == SOCKET_ERROR)
        std::this_thread::sleep_until(until);
    if (ready <= 0)
        return ready == 0;
    // One byte more than the largest valid datagram, so that an oversized
    // one is seen as such instead of being cut to a valid length.
    std::uint8_t buffer[wire::kMaxDatagram + 1];
    for (SOCKET s : sockets_) {
        if (!FD_ISSET(s, &readable))
            continue;
        for (;;) {
            sockaddr_in from{};
            int fromSize = sizeof from;
            const int size = recvfrom(s, reinterpret_cast<char*>(buffer), sizeof buffer, 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (size < 0) {
                // Oversized datagrams and ICMP port-unreachable reports fail
                // this one call only; the socket stays usable.
                const int error = WSAGetLastError();
                if (error != WSAEMSGSIZE && error != WSAECONNRESET)
                    break;
            } else if (size > 0) {
                sink(buffer, static_cast<std::size_t>(size),
                     Endpoint{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)});
            }
            if (steady_clock::now() >= until)
                return false;
        }
    }
    return true;
}

}  // namespace zova
