// The library's sockets, used directly on loopback.
// Winsock first: it must precede windows.h.
#include <winsock2.h>

#include "zovadll/WinsockTransport.h"

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
        target_ = {0x7F000001u, ntohs(local.sin_port)};
        const DWORD quietMs = 300;
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&quietMs),
                   sizeof quietMs);
    }
    ~Listener() { closesocket(socket_); }
    zova::Endpoint Target() const { return target_; }
    // Datagrams that arrive until 300 ms pass without one.
    int Count() {
        char buffer[2048];
        int arrived = 0;
        while (recv(socket_, buffer, sizeof buffer, 0) >= 0)
            ++arrived;
        return arrived;
    }

private:
    SOCKET socket_;
    zova::Endpoint target_{};
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
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.Open(listener.Target()));
    ASSERT_TRUE(transport.Open(listener.Target()));
    ASSERT_TRUE(transport.Send(zova::wire::EncodeScanRequest(1)));
    EXPECT_EQ(listener.Count(), 1);
}

// With Winsock gone under the open socket every wait fails at once; the
// receiver thread calls receive in a loop and must not spin.
TEST_F(WinsockTransportTest, AFailingWaitStillTakesItsTime) {
    Listener listener;
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.Open(listener.Target()));
    WSACleanup();
    int delivered = 0;
    const auto start = steady_clock::now();
    for (int turn = 0; turn < 10; ++turn)
        transport.Receive(
            20, [&](const std::uint8_t*, std::size_t, const zova::Endpoint&) { ++delivered; });
    const auto taken = duration_cast<milliseconds>(steady_clock::now() - start);
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(delivered, 0);
    // Ten turns of 20 ms, with room for a coarse clock.
    EXPECT_GE(taken.count(), 150);
}

}  // namespace
