#include "dhcp/ServerPort.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace dhcp {
namespace {

constexpr int kMaxAdapters = 64;
constexpr auto kRefreshInterval = std::chrono::seconds(1);

using Address = std::array<std::uint8_t, 4>;  // as ServerPort keeps it

// The addresses of the adapters that are up and can broadcast, loopback and
// adapters without an address aside; false when the list cannot be read (the
// caller keeps what it has).
bool ReadAdapters(std::vector<Address>& addresses) {
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (probe == INVALID_SOCKET)
        return false;
    INTERFACE_INFO list[kMaxAdapters];
    DWORD bytes = 0;
    const bool read = WSAIoctl(probe, SIO_GET_INTERFACE_LIST, nullptr, 0, list, sizeof list, &bytes,
                               nullptr, nullptr) == 0;
    closesocket(probe);
    if (!read)
        return false;
    addresses.clear();
    for (DWORD i = 0; i < bytes / sizeof(INTERFACE_INFO); ++i) {
        const ULONG flags = list[i].iiFlags;
        if (!(flags & IFF_UP) || !(flags & IFF_BROADCAST) || (flags & IFF_LOOPBACK))
            continue;
        Address address;
        std::memcpy(address.data(), &list[i].iiAddress.AddressIn.sin_addr, 4);
        if (address != Address{})  // a socket there would be bound to every adapter
            addresses.push_back(address);
    }
    return true;
}

// A socket on the adapter's address. Exclusive, so that the bind fails where
// another program holds the port on that address or on all of them, as it
// fails for 0.0.0.0.
Handle OpenOn(const Address& address, std::uint16_t port, int& error) {
    const Handle s = Open();
    if (s == kNoSocket) {
        error = LastError();
        return kNoSocket;
    }
    const BOOL on = TRUE;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    std::memcpy(&local.sin_addr, address.data(), 4);
    local.sin_port = htons(port);
    if (setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                   reinterpret_cast<const char*>(&on), sizeof on) != 0 ||
        !EnableBroadcast(s) ||
        bind(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&local), sizeof local) !=
            0) {
        error = LastError();
        Close(s);
        return kNoSocket;
    }
    SetNonBlocking(s);
    return s;
}

}  // namespace

bool ServerPort::Open(std::uint16_t port, int& error) {
    Close();
    port_ = port;
    const int failure = Refresh();
    // Fails where adapters exist and not one could be had. Without adapters
    // it serves those that come up later.
    if (bound_.empty() && failure != 0) {
        error = failure;
        return false;
    }
    open_ = true;
    next_ = 0;
    nextRefresh_ = std::chrono::steady_clock::now() + kRefreshInterval;
    return true;
}

int ServerPort::Refresh() {
    std::vector<Address> adapters;
    if (!ReadAdapters(adapters))
        return 0;
    // An adapter that went, or changed its address, loses its socket.
    for (auto it = bound_.begin(); it != bound_.end();) {
        if (std::find(adapters.begin(), adapters.end(), it->address) != adapters.end()) {
            ++it;
        } else {
            dhcp::Close(it->socket);
            it = bound_.erase(it);
        }
    }
    int failure = 0;
    for (const Address& address : adapters) {
        const bool bound = std::any_of(bound_.begin(), bound_.end(),
                                       [&](const Bound& b) { return b.address == address; });
        const Handle s = bound ? kNoSocket : OpenOn(address, port_, failure);
        if (s != kNoSocket)
            bound_.push_back({s, address});
    }
    return failure;
}

int ServerPort::Receive(std::uint8_t* buffer, int capacity, Arrival& from) {
    if (!open_)
        return -1;
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextRefresh_) {
        Refresh();
        nextRefresh_ = now + kRefreshInterval;
    }
    for (std::size_t tried = 0; tried < bound_.size(); ++tried) {
        const std::size_t i = (next_ + tried) % bound_.size();
        const int n = dhcp::Receive(bound_[i].socket, buffer, capacity);
        if (n < 0)
            continue;
        next_ = i + 1;
        from.hasAddress = 1;
        std::memcpy(from.address, bound_[i].address.data(), 4);
        from.route = bound_[i].socket;
        return n;
    }
    return -1;
}

bool ServerPort::SendBroadcast(const Arrival& to, const std::uint8_t* data, int length,
                               std::uint16_t port) {
    return open_ && dhcp::SendBroadcast(static_cast<Handle>(to.route), data, length, port);
}

}  // namespace dhcp
