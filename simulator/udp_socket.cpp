#include "simulator/udp_socket.h"

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
void closeNative(Native s) {
    closesocket(s);
}
std::string lastError() {
    return "socket error " + std::to_string(WSAGetLastError());
}
#else
using Native = int;
constexpr Native kInvalid = -1;
void closeNative(Native s) {
    close(s);
}
std::string lastError() {
    return std::strerror(errno);
}
#endif

Native native(std::intptr_t handle) {
    return static_cast<Native>(handle);
}

sockaddr_in toSockaddr(zova::Endpoint endpoint) {
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
    if (native(handle_) != kInvalid)
        closeNative(native(handle_));
}

bool UdpSocket::bind(zova::Endpoint local, std::string& error) {
    const Native s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == kInvalid) {
        error = "socket: " + lastError();
        return false;
    }
    handle_ = static_cast<std::intptr_t>(s);
#ifdef _WIN32
    u_long nonBlocking = 1;
    const bool modeSet = ioctlsocket(s, FIONBIO, &nonBlocking) == 0;
#else
    const bool modeSet = fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK) == 0;
#endif
    const sockaddr_in address = toSockaddr(local);
    if (!modeSet || ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "bind " + endpointText(local) + ": " + lastError();
        return false;
    }
    return true;
}

std::uint16_t UdpSocket::localPort() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (getsockname(native(handle_), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool UdpSocket::allowBroadcast() {
    const int on = 1;
    return setsockopt(native(handle_), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                      sizeof on) == 0;
}

bool UdpSocket::waitReadable(int timeoutMs) {
#ifdef _WIN32
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(native(handle_), &readable);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &timeout) > 0;
#else
    pollfd entry{native(handle_), POLLIN, 0};
    return poll(&entry, 1, timeoutMs) > 0;
#endif
}

long UdpSocket::receive(std::uint8_t* buffer, std::size_t capacity, zova::Endpoint& from) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const long received =
        recvfrom(native(handle_), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
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

bool UdpSocket::sendTo(const std::uint8_t* data, std::size_t size, zova::Endpoint to) {
    const sockaddr_in address = toSockaddr(to);
    return sendto(native(handle_), reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                  reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<long>(size);
}

std::string endpointText(zova::Endpoint endpoint) {
    return base::Ipv4Text(endpoint.address) + ":" + std::to_string(endpoint.port);
}

}  // namespace devsim
