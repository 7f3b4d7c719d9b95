// The server on a real UDP socket, with a client socket in the same process.
// Run only through in-netns.sh: the server binds port 67 and broadcasts.
#include "dhcp/DhcpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Discover(std::uint8_t xid, std::size_t size = 300) {
    Bytes m(size, 0);
    m[0] = 1;
    m[4] = xid;
    const std::uint8_t mac[6] = {0x02, 0x6B, 0xD4, 0x00, 0x00, 0x2A};
    std::memcpy(&m[28], mac, 6);
    const std::uint8_t options[] = {99, 130, 83, 99, 53, 1, 1, 255};
    std::memcpy(&m[236], options, sizeof options);
    return m;
}

void Pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

class DhcpSocket : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("VANTREL_NETNS"))
            GTEST_SKIP() << "needs a network namespace of its own (in-netns.sh)";
        ASSERT_TRUE(dhcp::Startup());
        m_client = dhcp::Open();
        ASSERT_NE(m_client, dhcp::kNoSocket);
        ASSERT_TRUE(dhcp::EnableBroadcast(m_client));
        ASSERT_TRUE(dhcp::BindAny(m_client, 68));
        dhcp::SetNonBlocking(m_client);
        ASSERT_TRUE(m_server.Init());
    }
    void TearDown() override {
        m_server.Cleanup();
        if (m_client != dhcp::kNoSocket)
            dhcp::Close(m_client);
        dhcp::Shutdown();
    }

    void Send(const Bytes& m) {
        ASSERT_TRUE(dhcp::SendBroadcast(m_client, m.data(), int(m.size()), 67));
    }

    // Polls the server until it has sent a reply (at most about 2 s), then
    // collects the xids of every reply the client got.
    std::vector<int> ServeAndCollect() {
        for (int i = 0; i < 200 && m_server.Poll() == 0; ++i)
            Pause();
        std::vector<int> xids;
        std::uint8_t buffer[4096];
        for (int i = 0; i < 20; ++i) {
            const int n = dhcp::Receive(m_client, buffer, sizeof buffer);
            if (n == 300)
                xids.push_back(buffer[4]);
            else
                Pause();
        }
        return xids;
    }

    CDhcpServer m_server;
    dhcp::Handle m_client = dhcp::kNoSocket;
};

TEST_F(DhcpSocket, DiscoverIsAnsweredByABroadcastOffer) {
    Send(Discover(1));
    EXPECT_EQ(ServeAndCollect(), std::vector<int>{1});
    EXPECT_EQ(m_server.m_reply.raw[242], 2);
}

TEST_F(DhcpSocket, DatagramsThatDoNotFitTheBufferAreDropped) {
    Send(Discover(1, 2049));
    Send(Discover(2, 2048));
    EXPECT_EQ(ServeAndCollect(), std::vector<int>{2});
}

TEST_F(DhcpSocket, AnEmptyDatagramDoesNotBlockTheOnesBehindIt) {
    Send(Bytes());
    Send(Discover(3));
    EXPECT_EQ(ServeAndCollect(), std::vector<int>{3});
}

TEST_F(DhcpSocket, SecondServerOnThePortFailsAndKeepsNoSocket) {
    CDhcpServer second;
    EXPECT_FALSE(second.Init());
    EXPECT_FALSE(second.m_port.IsOpen());
    // A Discover waits on the port: the failed server neither takes nor
    // answers it, and the server that holds the port still gets it.
    Send(Discover(4));
    Pause();
    EXPECT_EQ(second.Poll(), 0);
    EXPECT_EQ(ServeAndCollect(), std::vector<int>{4});

    // Cleanup releases the port: the second server can take it over.
    EXPECT_TRUE(m_server.Cleanup());
    EXPECT_FALSE(m_server.m_port.IsOpen());
    EXPECT_TRUE(m_server.Cleanup());
    ASSERT_TRUE(second.Init());
    second.Cleanup();
}

}  // namespace
