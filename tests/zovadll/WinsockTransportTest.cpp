// The library's sockets, used directly on loopback.
// Winsock first: it must precede windows.h.
#include <winsock2.h>

#include "zovadll/WinsockTransport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

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
        // Room for every datagram a test sends before it reads them.
        const int room = 4 * 1024 * 1024;
        setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&room),
                   sizeof room);
    }
    ~Listener() { closesocket(socket_); }
    zova::Endpoint Target() const { return target_; }
    // The request ids of the datagrams that arrive until 300 ms pass without
    // one, and how often each came.
    std::map<std::uint32_t, int> Ids() {
        std::uint8_t buffer[2048];
        std::map<std::uint32_t, int> ids;
        int size;
        while ((size = recv(socket_, reinterpret_cast<char*>(buffer), sizeof buffer, 0)) >= 0) {
            const auto header = zova::wire::DecodeHeader(buffer, static_cast<std::size_t>(size));
            ++ids[header ? header->id : 0];
        }
        return ids;
    }
    int Count() {
        int arrived = 0;
        for (const auto& entry : Ids())
            arrived += entry.second;
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

// The tool's thread sends a request's first copy while the receiver thread
// sends the copies of earlier ones, on the same socket. Catches a copy lost
// when two sends meet: Wine refuses one of two sends at once on a
// non-blocking socket (WSAEWOULDBLOCK), and an unlocked transport dropped it.
TEST_F(WinsockTransportTest, TwoThreadsSendingAtOnceLoseNoDatagram) {
    Listener listener;
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.Open(listener.Target()));
    constexpr std::uint32_t kEach = 1000;
    std::atomic<int> refused{0};
    const auto sendFrom = [&](std::uint32_t firstId) {
        for (std::uint32_t id = firstId; id < firstId + kEach; ++id)
            refused += transport.Send(zova::wire::EncodeScanRequest(id)) ? 0 : 1;
    };
    std::thread receiverThread(sendFrom, kEach);
    sendFrom(0);
    receiverThread.join();
    EXPECT_EQ(refused.load(), 0);
    const std::map<std::uint32_t, int> ids = listener.Ids();
    EXPECT_EQ(ids.size(), 2 * kEach) << "requests that never left";
    EXPECT_EQ(std::count_if(ids.begin(), ids.end(), [](const auto& e) { return e.second != 1; }), 0)
        << "a request sent twice";
}

// With Winsock gone under the open socket every wait fails at once; the
// receiver thread calls receive in a loop and must not spin.
TEST_F(WinsockTransportTest, AFailingWaitStillTakesItsTime) {
    Listener listener;
    zova::WinsockTransport transport;
    ASSERT_TRUE(transport.Open(listener.Target()));
    WSACleanup();
    int delivered = 0;
    int emptied = 0;
    const auto start = steady_clock::now();
    for (int turn = 0; turn < 10; ++turn)
        emptied += transport.Receive(
            steady_clock::now() + milliseconds(20),
            [&](const std::uint8_t*, std::size_t, const zova::Endpoint&) { ++delivered; });
    const auto taken = duration_cast<milliseconds>(steady_clock::now() - start);
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(emptied, 0) << "a failed wait cannot tell that the socket is empty";
    // Ten turns of 20 ms, with room for a coarse clock.
    EXPECT_GE(taken.count(), 150);
}

}  // namespace
