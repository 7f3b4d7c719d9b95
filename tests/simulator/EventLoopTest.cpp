// The simulator's loop on a real UDP socket on loopback.
#include "simulator/EventLoop.h"
#include "simulator/Fleet.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <thread>

namespace {

using namespace devsim;

class Client {
public:
    Client() {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        // Room for every answer of a scan even when this reader is
        // descheduled while they arrive: 300 answers overflow the default.
        // Beyond the system's cap only root may go (SO_RCVBUFFORCE).
        const int buffer = 4 << 20;
        if (setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof buffer) != 0)
            setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    ~Client() { close(fd_); }
    void Send(const zova::wire::Datagram& d, std::uint16_t port) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        sendto(fd_, d.data(), d.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    // The next datagram, or an empty one when none came within 5 s.
    zova::wire::Datagram Receive() {
        pollfd entry{fd_, POLLIN, 0};
        if (poll(&entry, 1, 5000) <= 0)
            return {};
        zova::wire::Datagram d(2048);
        const ssize_t size = recv(fd_, d.data(), d.size(), 0);
        d.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        return d;
    }

private:
    int fd_;
};

TEST(EventLoop, AnswersOverLoopbackAndLogsEachRequest) {
    UdpSocket socket;
    std::string error;
    ASSERT_TRUE(socket.Bind({0x7F000001, 0}, error)) << error;
    Responder responder(GenerateFleet(300, {0x02, 0x6B, 0xD4}), std::chrono::milliseconds(200));
    std::FILE* log = std::tmpfile();
    std::atomic<bool> stop{false};
    EventLoop loop(responder, socket, log, false);
    std::thread runner([&] { loop.Run(stop); });

    Client client;
    client.Send(zova::wire::EncodeScanRequest(3), socket.LocalPort());
    std::set<base::Mac> macs;
    for (int i = 0; i < 300; ++i) {
        const auto d = client.Receive();
        const auto a = zova::wire::DecodeScanAnswer(d.data(), d.size());
        if (!a)
            break;
        macs.insert({a->abMacAddr[0], a->abMacAddr[1], a->abMacAddr[2], a->abMacAddr[3],
                     a->abMacAddr[4], a->abMacAddr[5]});
    }
    EXPECT_EQ(macs.size(), 300u);
    client.Send({0xDE, 0xAD}, socket.LocalPort());
    client.Send(zova::wire::EncodeWinkRequest(4, {0x02, 0x6B, 0xD4, 0, 0, 7}), socket.LocalPort());
    // The loop writes the wink's line after the noise's: wait for it.
    std::string text;
    for (int i = 0; i < 500 && text.find("\"wink\"") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::fflush(log);
        std::rewind(log);
        text.clear();
        for (int c; (c = std::fgetc(log)) != EOF;)
            text += static_cast<char>(c);
    }
    stop = true;
    runner.join();
    std::fclose(log);
    EXPECT_NE(text.find("{\"type\":\"scan\",\"id\":3,"), std::string::npos) << text;
    EXPECT_NE(text.find("\"type\":\"dropped\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"mac\":\"02-6B-D4-00-00-07\",\"outcome\":\"winked\""), std::string::npos)
        << text;
}

}  // namespace
