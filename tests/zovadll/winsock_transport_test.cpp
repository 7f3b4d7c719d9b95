// The library's sockets, used directly on loopback.
// Winsock first: it must precede windows.h.
#include <winsock2.h>

#include "zovadll/winsock_transport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono;

// A socket of the test's own on loopback that counts what reaches it.
class Listener {
public:
    Listener() : socket_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof local;
        bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &size);
        port_ = ntohs(local.sin_port);
    }
    ~Listener() { closesocket(socket_); }
    std::uint16_t port() const { return port_; }

    // Datagrams that arrive until `quiet` passes without one.
    int count(milliseconds quiet) {
        int arrived = 0;
        for (;;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(socket_, &readable);
            timeval timeout{0, static_cast<long>(quiet.count() * 1000)};
            if (select(0, &readable, nullptr, nullptr, &timeout) <= 0)
                return arrived;
            char buffer[2048];
            if (recv(socket_, buffer, sizeof buffer, 0) >= 0)
                ++arrived;
        }
    }

private:
    SOCKET socket_;
    std::uint16_t port_ = 0;
};

class WinsockTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

// ZOVA_Start opens again after a start that failed late: each request must
// still leave once per socket, not once per try.
TEST_F(WinsockTransportTest, OpeningAgainReplacesTheSocketsInsteadOfAddingMore) {
    Listener listener;
    const zova::Endpoint target{0x7F000001u, listener.port()};
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.open(target));
    ASSERT_TRUE(transport.open(target));
    ASSERT_TRUE(transport.send(zova::wire::encodeScanRequest(1)));
    EXPECT_EQ(listener.count(milliseconds(300)), 1);
}

// With Winsock gone under the open socket every wait fails at once; the
// receiver thread calls receive in a loop and must not spin.
TEST_F(WinsockTransportTest, AFailingWaitStillTakesItsTime) {
    Listener listener;
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.open(zova::Endpoint{0x7F000001u, listener.port()}));
    WSACleanup();
    int delivered = 0;
    const auto start = steady_clock::now();
    for (int turn = 0; turn < 10; ++turn)
        transport.receive(20, [&](const std::uint8_t*, std::size_t) { ++delivered; });
    const auto taken = duration_cast<milliseconds>(steady_clock::now() - start);
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(delivered, 0);
    // Ten turns of 20 ms, with room for a coarse clock.
    EXPECT_GE(taken.count(), 150);
}

}  // namespace
