// The few datagram-socket calls the recovery server makes: Winsock in the
// tool, POSIX sockets in the native build, so the same server logic runs on
// both.
#ifndef VANTREL_DHCP_UDPSOCKET_H
#define VANTREL_DHCP_UDPSOCKET_H

#include <cstdint>

namespace dhcp {

// A socket handle; kNoSocket means none.
using Handle = std::uintptr_t;
constexpr Handle kNoSocket = 0;

// Winsock 2.2 start-up and its matching clean-up; nothing on POSIX.
bool Startup();
void Shutdown();

Handle Open();  // AF_INET, SOCK_DGRAM, IPPROTO_UDP
bool EnableBroadcast(Handle s);
bool BindAny(Handle s, std::uint16_t port);
void SetNonBlocking(Handle s);
void Close(Handle s);
// The error of the last call that failed on this thread (WSAGetLastError, errno).
int LastError();

// Takes one waiting datagram into buffer. Returns its length, or -1 when
// nothing waits, the call fails, or the datagram did not fit (it is then
// discarded, never handed on cut short).
int Receive(Handle s, std::uint8_t* buffer, int capacity);

// Sends to 255.255.255.255 at port; false when the call fails.
bool SendBroadcast(Handle s, const std::uint8_t* data, int length, std::uint16_t port);

}  // namespace dhcp

#endif
