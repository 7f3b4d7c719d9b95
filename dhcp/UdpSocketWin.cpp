#include "dhcp/UdpSocket.h"

#include <winsock2.h>

namespace dhcp {

bool Startup() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Shutdown() {
    WSACleanup();
}

Handle Open() {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<Handle>(s);
}

bool EnableBroadcast(Handle s) {
    const DWORD on = 1;
    return setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool BindAny(Handle s, std::uint16_t port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    return bind(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}

void SetNonBlocking(Handle s) {
    u_long on = 1;
    ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &on);
}

int LastError() {
    return WSAGetLastError();
}

void Close(Handle s) {
    closesocket(static_cast<SOCKET>(s));
}

int Receive(Handle s, std::uint8_t* buffer, int capacity) {
    // A datagram larger than the buffer fails the call (WSAEMSGSIZE) and is
    // discarded; nothing waiting fails it with WSAEWOULDBLOCK.
    const int n = recvfrom(static_cast<SOCKET>(s), reinterpret_cast<char*>(buffer), capacity, 0,
                           nullptr, nullptr);
    return n == SOCKET_ERROR ? -1 : n;
}

bool SendBroadcast(Handle s, const std::uint8_t* data, int length, std::uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    to.sin_port = htons(port);
    return sendto(static_cast<SOCKET>(s), reinterpret_cast<const char*>(data), length, 0,
                  reinterpret_cast<sockaddr*>(&to), sizeof to) == length;
}

}  // namespace dhcp
