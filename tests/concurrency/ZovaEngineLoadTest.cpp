// The library's queues fed by a receiver thread while the tool's thread scans,
// configures and takes answers, against the real device simulator on
// loopback. Built with ThreadSanitizer this proves the engine's locking and
// its callback free of data races under load; the counts prove that nothing
// is lost or announced twice between the two threads.
//
// The receiver is the library's, natively: wait up to 20 ms, then drain every
// waiting datagram into the engine, on a socket with an 8 MB receive buffer.
#include "simulator/EventLoop.h"
#include "simulator/Fleet.h"
#include "simulator/Responder.h"
#include "simulator/UdpSocket.h"
#include "tests/common/SampleRequest.h"
#include "zovadll/Engine.h"
#include "zovadll/Wire.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kDevices = 1000;
constexpr std::uint32_t kProtectedEvery = 10;  // every 10th device has a password
constexpr int kMaxScans = 10;

std::atomic<int> g_notifications[4];

void CountNotification(int notification) {
    if (notification >= 1 && notification <= 3)
        ++g_notifications[notification];
}

// The simulated devices, on a loopback port of their own, in a thread.
class Devices {
public:
    Devices() {
        std::vector<devsim::Device> fleet = devsim::GenerateFleet(kDevices, {0x02, 0x6B, 0xD4});
        for (std::uint32_t i = 0; i < kDevices; i += kProtectedEvery) {
            fleet[i].passwordOn = true;
            fleet[i].storedPassword = "right";
        }
        // Answers spread over a window, as a large network's arrive.
        m_responder = std::make_unique<devsim::Responder>(std::move(fleet), 100ms);
        std::string error;
        m_ready = m_socket.Bind({0x7F000001, 0}, error);
        m_log = std::fopen("/dev/null", "w");
        if (m_ready && m_log)
            m_thread = std::thread(
                [this] { devsim::EventLoop(*m_responder, m_socket, m_log, false).Run(m_stop); });
    }

    ~Devices() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_log)
            std::fclose(m_log);
    }

    bool Ready() const { return m_ready && m_log; }
    std::uint16_t Port() const { return m_socket.LocalPort(); }

private:
    std::unique_ptr<devsim::Responder> m_responder;
    devsim::UdpSocket m_socket;
    std::FILE* m_log = nullptr;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The library's socket and receiver thread around the engine.
class Receiver {
public:
    explicit Receiver(zova::Engine& engine) : m_engine(engine) {
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        const int buffer = 8 * 1024 * 1024;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_ready =
            m_socket >= 0 && bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        if (m_ready)
            m_thread = std::thread([this] { Run(); });
    }

    ~Receiver() {
        Stop();
        close(m_socket);
    }

    bool Ready() const { return m_ready; }

    void Stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    void SendTo(std::uint16_t port, const zova::wire::Datagram& datagram) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        sendto(m_socket, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof to);
    }

private:
    void Run() {
        std::uint8_t buffer[zova::wire::kMaxDatagram + 1];
        while (!m_stop) {
            pollfd readable{m_socket, POLLIN, 0};
            if (poll(&readable, 1, 20) <= 0)
                continue;
            ssize_t size;
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            while ((size = recvfrom(m_socket, buffer, sizeof buffer, MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&from), &fromSize)) >= 0)
                m_engine.Receive(buffer, static_cast<std::size_t>(size),
                                 {ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)}, Clock::now());
        }
    }

    zova::Engine& m_engine;
    int m_socket = -1;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

base::Mac DeviceMac(std::uint32_t index) {
    const std::uint32_t n = index + 1;
    return {0x02,
            0x6B,
            0xD4,
            static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n)};
}

zova::wire::Datagram ConfigureRequest(std::uint32_t id, const base::Mac& mac,
                                      const char* password) {
    return zova::wire::EncodeConfigureRequest(
        id, harness::SampleRequest(mac, password).Ip(0x0A000000u | mac[5]).Mask(0xFF000000u));
}

TEST(ZovaEngineUnderLoad, ScansAndConfiguresWhileAnswersArrive) {
    for (auto& count : g_notifications)
        count = 0;
    Devices devices;
    ASSERT_TRUE(devices.Ready());
    zova::Engine engine({}, CountNotification);
    Receiver receiver(engine);
    ASSERT_TRUE(receiver.Ready());

    std::set<base::Mac> seen;
    std::set<base::Mac> rejected;
    long taken = 0;
    int rejectedTaken = 0;
    const auto takeEverything = [&] {
        ZOVA_ModuleScanResponseType answer;
        while (engine.TakeAnswer(answer)) {
            ++taken;
            base::Mac mac;
            std::memcpy(mac.data(), answer.abMacAddr, mac.size());
            seen.insert(mac);
        }
        base::Mac mac;
        while (engine.FirstRejected(mac)) {
            ++rejectedTaken;
            rejected.insert(mac);
            engine.DropFirstRejected();
        }
    };
    const auto takeUntil = [&](auto done) {
        const auto end = Clock::now() + 20s;
        while (!done() && Clock::now() < end) {
            takeEverything();
            std::this_thread::sleep_for(1ms);
        }
    };

    // Configure requests in batches, each followed by a scan whose answers
    // arrive while the next batch goes out: per protected device one with the
    // wrong password, and one to the next device, which has none and accepts.
    // Every request goes out on the engine's schedule of copies, as the
    // library sends it; its result must be counted once.
    std::uint32_t id = 1000;
    std::uint32_t scans = 0;
    // Known to the engine before it leaves, as the library sends it.
    const auto sendScan = [&] {
        const zova::wire::Datagram scan = zova::wire::EncodeScanRequest(scans++);
        engine.RequestSent(scan, Clock::now());
        receiver.SendTo(devices.Port(), scan);
    };
    int expectedResults = 0;
    std::vector<zova::wire::Datagram> batch;
    const auto sendBatch = [&] {
        const auto sent = Clock::now();
        for (const auto& datagram : batch) {
            receiver.SendTo(devices.Port(), datagram);
            engine.RequestSent(datagram, sent);
        }
        while (Clock::now() <= sent + zova::Engine::kCopyDelays.back()) {
            std::this_thread::sleep_for(20ms);
            for (const auto& datagram : engine.DueCopies(Clock::now()))
                receiver.SendTo(devices.Port(), datagram);
            takeEverything();
        }
        expectedResults += static_cast<int>(batch.size());
        batch.clear();
        sendScan();
        // The engine remembers only so many requests whose result is due.
        takeUntil([&] { return g_notifications[2] + g_notifications[3] >= expectedResults; });
    };
    for (std::uint32_t i = 0; i < kDevices; i += kProtectedEvery) {
        for (const std::uint32_t device : {i, i + 1}) {
            const base::Mac mac = DeviceMac(device);
            engine.ExpectConfigureResult(id, mac);
            batch.push_back(ConfigureRequest(id++, mac, device == i ? "wrong" : ""));
            if (batch.size() == zova::Engine::kMaxPending / 2)
                sendBatch();
        }
    }
    if (!batch.empty())
        sendBatch();
    // Further scans only for devices whose answers were all lost.
    while (seen.size() < kDevices && scans < kMaxScans) {
        sendScan();
        const auto end = Clock::now() + 500ms;
        takeUntil([&] { return seen.size() == kDevices || Clock::now() > end; });
    }
    takeUntil([&] { return seen.size() == kDevices; });
    receiver.Stop();
    takeEverything();

    EXPECT_EQ(seen.size(), kDevices) << "devices never listed";
    EXPECT_EQ(taken, g_notifications[1].load()) << "answers taken against answers announced";
    EXPECT_EQ(g_notifications[3].load(), static_cast<int>(kDevices / kProtectedEvery))
        << "rejections announced";
    EXPECT_EQ(g_notifications[2].load(), static_cast<int>(kDevices / kProtectedEvery))
        << "acceptances announced";
    EXPECT_EQ(rejectedTaken, g_notifications[3].load()) << "rejections queued against announced";
    EXPECT_EQ(rejected.size(), kDevices / kProtectedEvery) << "distinct devices that rejected";
}

}  // namespace
