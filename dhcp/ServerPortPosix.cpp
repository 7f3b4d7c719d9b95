#include "dhcp/ServerPort.h"

#include <cstring>

#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace dhcp {
namespace {

// The interface's own IPv4 address. Not IP_PKTINFO's ipi_spec_dst: for a
// broadcast from a client that still has an address, that follows the route
// back to the client, which may lead through another adapter.
bool AddressOf(int fd, int index, std::uint8_t* address) {
    ifreq request{};
    request.ifr_ifindex = index;
    if (ioctl(fd, SIOCGIFNAME, &request) != 0)
        return false;
    request.ifr_addr.sa_family = AF_INET;
    if (ioctl(fd, SIOCGIFADDR, &request) != 0)
        return false;
    sockaddr_in own;
    std::memcpy(&own, &request.ifr_addr, sizeof own);
    std::memcpy(address, &own.sin_addr, 4);
    return true;
}

}  // namespace

bool ServerPort::Open(std::uint16_t port, int& error) {
    Close();
    const Handle s = dhcp::Open();
    const int on = 1;
    if (s == kNoSocket) {
        error = LastError();
        return false;
    }
    if (!EnableBroadcast(s) ||
        setsockopt(static_cast<int>(s), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
        !BindAny(s, port)) {
        error = LastError();
        dhcp::Close(s);
        return false;
    }
    SetNonBlocking(s);
    bound_.push_back({s, {}});
    open_ = true;
    return true;
}

int ServerPort::Receive(std::uint8_t* buffer, int capacity, Arrival& from) {
    if (!open_)
        return -1;
    const int fd = static_cast<int>(bound_.front().socket);
    iovec data{buffer, static_cast<std::size_t>(capacity)};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    // MSG_TRUNC: the real length of a datagram that did not fit, which is
    // then dropped, as Winsock drops it.
    const ssize_t n = recvmsg(fd, &message, MSG_TRUNC | MSG_DONTWAIT);
    if (n < 0 || n > capacity)
        return -1;
    from = Arrival{};
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO)
            continue;
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(c), sizeof info);
        from.route = static_cast<std::uintptr_t>(info.ipi_ifindex);
        from.hasAddress = AddressOf(fd, info.ipi_ifindex, from.address) ? 1 : 0;
    }
    return static_cast<int>(n);
}

bool ServerPort::SendBroadcast(const Arrival& to, const std::uint8_t* data, int length,
                               std::uint16_t port) {
    if (!open_)
        return false;
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    destination.sin_port = htons(port);
    in_pktinfo info{};
    info.ipi_ifindex = static_cast<int>(to.route);
    std::memcpy(&info.ipi_spec_dst, to.address, 4);
    iovec bytes{const_cast<std::uint8_t*>(data), static_cast<std::size_t>(length)};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof info)] = {};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof info);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    return sendmsg(static_cast<int>(bound_.front().socket), &message, 0) == length;
}

}  // namespace dhcp
