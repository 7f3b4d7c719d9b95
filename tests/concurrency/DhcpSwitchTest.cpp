// The recovery server switched on and off again and again while a client
// keeps sending, by the tool's own switch and its worker (Poll, then 50 ms
// sleep, while the switch is on). Built with ThreadSanitizer this proves the
// flag, the worker's start and stop, and the socket's opening and closing
// free of data races.
//
// The process moves into a network namespace of its own before anything is
// sent: the server binds 0.0.0.0:67 and broadcasts, so it must never meet a
// real network. The namespace ends with the process, also when a test fails.
#include "dhcp/ServerSwitch.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The server end has an address and the broadcast route; its broadcasts come
// back to sockets in this namespace, where the client listens.
bool EnterPrivateNetwork() {
    if (unshare(CLONE_NEWNET) != 0)
        return false;
    return std::system(
               "ip link set lo up && "
               "ip link add v0 type veth peer name v1 && "
               "ip addr add 10.200.1.254/24 dev v0 && "
               "ip link set v0 up && ip link set v1 up && "
               "ip route add 255.255.255.255 dev v0") == 0;
}

// Sends DISCOVERs from a supported MAC to the server every few milliseconds,
// for at most a bounded number of datagrams, and counts the OFFERs it hears.
class Client {
public:
    static constexpr int kMaxSends = 20000;

    Client() {
        m_send = socket(AF_INET, SOCK_DGRAM, 0);
        m_listen = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(68);
        m_ready = m_send >= 0 && m_listen >= 0 &&
                  bind(m_listen, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        fcntl(m_listen, F_SETFL, O_NONBLOCK);

        CDhcpPacket discover;
        discover.op = 1;
        discover.htype = 1;
        discover.hlen = 6;
        const std::uint8_t xid[4] = {0x5a, 0x17, 0x00, 0x01};
        const std::uint8_t mac[6] = {0x02, 0x6B, 0xD4, 0x00, 0x00, 0x2A};
        std::memcpy(discover.xid, xid, 4);
        std::memcpy(discover.chaddr, mac, 6);
        discover.hasMessageType = 1;
        discover.messageType = 1;
        discover.Build();
        std::memcpy(m_discover, discover.raw, sizeof m_discover);
        m_discoverLength = discover.length;
    }

    ~Client() {
        Stop();
        close(m_send);
        close(m_listen);
    }

    bool Ready() const { return m_ready; }
    int Offers() const { return m_offers; }

    void Start() {
        m_thread = std::thread([this] {
            sockaddr_in server{};
            server.sin_family = AF_INET;
            server.sin_port = htons(67);
            server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            for (int i = 0; i < kMaxSends && !m_stop; ++i) {
                sendto(m_send, m_discover, m_discoverLength, 0,
                       reinterpret_cast<sockaddr*>(&server), sizeof server);
                TakeOffers();
                std::this_thread::sleep_for(5ms);
            }
        });
    }

    void Stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // Waits, within a bound, for more than `count` offers.
    bool WaitForOffersBeyond(int count) const {
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (m_offers <= count && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(5ms);
        return m_offers > count;
    }

private:
    void TakeOffers() {
        CDhcpPacket reply;
        ssize_t n;
        while ((n = recv(m_listen, reply.raw, sizeof reply.raw, 0)) > 0) {
            reply.length = static_cast<int>(n);
            if (reply.Parse() && reply.op == 2 && reply.hasMessageType && reply.messageType == 2 &&
                reply.yiaddr[3] == 0x2A)
                ++m_offers;
        }
    }

    int m_send = -1;
    int m_listen = -1;
    bool m_ready = false;
    std::uint8_t m_discover[CDhcpPacket::kRawSize] = {};
    int m_discoverLength = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_offers{0};
    std::thread m_thread;
};

// True when port 67 is free again, i.e. the switch closed the server's socket.
bool PortFree() {
    CDhcpServer probe;
    const bool opened = probe.Init();
    probe.Cleanup();
    return opened;
}

class DhcpSwitchTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_network = EnterPrivateNetwork(); }

    void SetUp() override {
        if (!s_network)
            GTEST_SKIP() << "no private network namespace here (needs CAP_NET_ADMIN)";
    }

    static bool s_network;
};

bool DhcpSwitchTest::s_network = false;

TEST_F(DhcpSwitchTest, EveryOnPhaseAnswersAndEveryOffPhaseFreesThePort) {
    Client client;
    ASSERT_TRUE(client.Ready());
    client.Start();
    dhcp::ServerSwitch serverSwitch;
    for (int cycle = 0; cycle < 8; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        const int before = client.Offers();
        ASSERT_TRUE(serverSwitch.On());
        EXPECT_TRUE(client.WaitForOffersBeyond(before));
        serverSwitch.Off();
        EXPECT_TRUE(PortFree());
    }
    client.Stop();
}

TEST_F(DhcpSwitchTest, RapidTogglingWhileTheClientSends) {
    Client client;
    ASSERT_TRUE(client.Ready());
    client.Start();
    dhcp::ServerSwitch serverSwitch;
    // Off right after on, and after pauses shorter and longer than the
    // worker's, so that closing meets the worker at every point of its loop.
    for (int cycle = 0; cycle < 40; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        ASSERT_TRUE(serverSwitch.On());
        std::this_thread::sleep_for(std::chrono::milliseconds(cycle % 4 * 20));
        serverSwitch.Off();
    }
    client.Stop();
    EXPECT_TRUE(PortFree());
}

}  // namespace
