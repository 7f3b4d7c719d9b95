#include "dhcp/UdpSocket.h"

#include <cerrno>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dhcp {

bool Startup() {
    return true;
}
void Shutdown() {}

Handle Open() {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd == 0) {
        // Descriptor 0 would read as "no socket": move it.
        const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
        close(fd);
        fd = moved;
    }
    return fd < 0 ? kNoSocket : static_cast<Handle>(fd);
}

bool EnableBroadcast(Handle s) {
    const std::int32_t on = 1;
    return setsockopt(static_cast<int>(s), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool BindAny(Handle s, std::uint16_t port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    return bind(static_cast<int>(s), reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}

void SetNonBlocking(Handle s) {
    const int fd = static_cast<int>(s);
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

int LastError() {
    return errno;
}

void Close(Handle s) {
    close(static_cast<int>(s));
}

int Receive(Handle s, std::uint8_t* buffer, int capacity) {
    // MSG_TRUNC makes the call report the datagram's full length, so one that
    // did not fit is seen and dropped, as Winsock drops it.
    const ssize_t n = recv(static_cast<int>(s), buffer, capacity, MSG_TRUNC | MSG_DONTWAIT);
    if (n < 0 || n > capacity)
        return -1;
    return static_cast<int>(n);
}

bool SendBroadcast(Handle s, const std::uint8_t* data, int length, std::uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    to.sin_port = htons(port);
    return sendto(static_cast<int>(s), data, length, 0, reinterpret_cast<sockaddr*>(&to),
                  sizeof to) == length;
}

}  // namespace dhcp
