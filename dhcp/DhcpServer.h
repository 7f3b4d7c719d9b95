// Recovery DHCP server: gives a device of the supported family, set to DHCP
// in error, the address 10.200.1.N (N = last byte of its hardware address).
// No leases kept, no per-client state; every reply is a 300-byte broadcast
// out of the adapter the request came in on, naming that adapter's address
// as the server.
#ifndef VANTREL_DHCP_DHCPSERVER_H
#define VANTREL_DHCP_DHCPSERVER_H

#include "dhcp/DhcpPacket.h"
#include "dhcp/ServerPort.h"

class CDhcpServer {
public:
    virtual ~CDhcpServer();

    // Opens port 67 on every adapter for broadcasting; false on failure,
    // leaving no socket behind.
    bool Init();
    // Handles at most one waiting datagram without blocking; 1 when a reply
    // was sent.
    int Poll();
    // Closes the sockets if they are open; always true.
    bool Cleanup();
    // Diagnostic hook; the server writes no log.
    void Trace(const char* format, ...);

    // Decides the answer to the datagram in m_request, which came in on an
    // adapter with the address `adapter` (wire order; nullptr when it has
    // none), and builds it in m_reply; false when the message gets no reply.
    bool PrepareReply(const std::uint8_t* adapter);

    CDhcpPacket m_reply;
    CDhcpPacket m_request;
    dhcp::ServerPort m_port;
    // The socket error that made the last Init fail, for a caller that says why.
    int m_initError = 0;

private:
    // The reply's type for a DHCPDISCOVER: an offer.
    void AnswerDiscover();
    // The reply's type for a DHCPREQUEST: an ACK, or a NAK for another
    // address; false when the request names another server.
    bool AnswerRequest(const std::uint8_t* adapter);
};

#endif
