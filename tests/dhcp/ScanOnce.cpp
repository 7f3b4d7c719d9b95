// Sends one module scan to a simulator on loopback and prints, one per line,
// the MAC and IP address of every answer that arrives within a second.
// Usage: scan_once PORT
#include "base/Address.h"
#include "zovadll/Wire.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[1])));
    const zova::wire::Datagram scan = zova::wire::EncodeScanRequest(7);
    if (sendto(s, scan.data(), scan.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
        return 1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd p{s, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        std::uint8_t buffer[2048];
        const ssize_t n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0)
            continue;
        if (const auto answer = zova::wire::DecodeScanAnswer(buffer, static_cast<std::size_t>(n))) {
            base::Mac mac;
            std::copy(answer->abMacAddr, answer->abMacAddr + 6, mac.begin());
            std::printf("%s %s\n", base::MacText(mac).c_str(),
                        base::Ipv4Text(answer->dwIpAddr).c_str());
        }
    }
    close(s);
    return 0;
}
