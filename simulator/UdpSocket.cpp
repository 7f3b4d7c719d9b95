#include "simulator/UdpSocket.h"

#include "base/Address.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace devsim {
namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr Native kInvalid = INVALID_SOCKET;
void CloseNative(Native s) {
    closesocket(s);
}
std::string LastError() {
    return "socket error " + std::to_string(WSAGetLastError());
}
#else
using Native = int;
constexpr Native kInvalid = -1;
void CloseNative(Native s) {
    close(s);
}
std::string LastError() {
    return std::strerror(errno);
}
#endif

Native ToNative(std::intptr_t handle) {
    return static_cast<Native>(handle);
}

sockaddr_in ToSockaddr(zova::Endpoint endpoint) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(endpoint.address);
    address.sin_port = htons(endpoint.port);
    return address;
}

}  // namespace

UdpSocket::UdpSocket() : handle_(static_cast<std::intptr_t>(kInvalid)) {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
}

UdpSocket::~UdpSocket() {
    if (ToNative(handle_) != kInvalid)
        CloseNative(ToNative(handle_));
}

bool UdpSocket::Bind(zova::Endpoint local, std::string& error) {
    const Native s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == kInvalid) {
        error = "socket: " + LastError();
        return false;
    }
    handle_ = static_cast<std::intptr_t>(s);
#ifdef _WIN32
    u_long nonBlocking = 1;
    const bool modeSet = ioctlsocket(s, FIONBIO, &nonBlocking) == 0;
#else
    const bool modeSet = fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK) == 0;
#endif
    const sockaddr_in address = ToSockaddr(local);
    if (!modeSet || ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "bind " + EndpointText(local) + ": " + LastError();
        return false;
    }
    return true;
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (getsockname(ToNative(handle_), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool UdpSocket::AllowBroadcast() {
    const int on = 1;
    return setsockopt(ToNative(handle_), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool UdpSocket::WaitReadable(int timeoutMs) {
#ifdef _WIN32
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(ToNative(handle_), &readable);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &timeout) > 0;
#else
    pollfd entry{ToNative(handle_), POLLIN, 0};
    return poll(&entry, 1, timeoutMs) > 0;
#endif
}

long UdpSocket::Receive(std::uint8_t* buffer, std::size_t capacity, zova::Endpoint& from) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const long received =
        recvfrom(ToNative(handle_), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                 reinterpret_cast<sockaddr*>(&address), &size);
#ifdef _WIN32
    // Windows reports a cut datagram as an error; it is still one datagram.
    if (received < 0 && WSAGetLastError() == WSAEMSGSIZE) {
        from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
        return static_cast<long>(capacity);
    }
#endif
    if (received < 0)
        return -1;
    from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
    return received;
}

bool UdpSocket::SendTo(const std::uint8_t* data, std::size_t size, zova::Endpoint to) {
    const sockaddr_in address = ToSockaddr(to);
    return sendto(ToNative(handle_), reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                  reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<long>(size);
}

std::string EndpointText(zova::Endpoint endpoint) {
    return base::Ipv4Text(endpoint.address) + ":" + std::to_string(endpoint.port);
}

}  // namespace devsim
