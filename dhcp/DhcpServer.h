// Recovery DHCP server: gives a device of the supported family, set to DHCP
// in error, the address 10.200.1.N (N = last byte of its hardware address).
// No leases, no per-client state; every reply is a 300-byte broadcast.
#ifndef VANTREL_DHCP_DHCPSERVER_H
#define VANTREL_DHCP_DHCPSERVER_H

#include "dhcp/DhcpPacket.h"
#include "dhcp/UdpSocket.h"

class CDhcpServer {
public:
    virtual ~CDhcpServer();

    // Opens the UDP socket on 0.0.0.0:67 for broadcasting; false on failure,
    // leaving no socket behind.
    bool Init();
    // Handles at most one waiting datagram without blocking; 1 when a reply
    // was sent.
    int Poll();
    // Closes the socket if one is open; always true.
    bool Cleanup();
    // Diagnostic hook; the server writes no log.
    void Trace(const char* format, ...);

    // Decides the answer to the datagram in m_request and builds it in
    // m_reply; false when the message gets no reply.
    bool PrepareReply();

    CDhcpPacket m_reply;
    CDhcpPacket m_request;
    dhcp::Handle m_socket = dhcp::kNoSocket;
    // The socket error that made the last Init fail, for a caller that says why.
    int m_initError = 0;
};

#endif
