// Copies of requests that never leave zova.dll: the program's thread sends a
// wink request every millisecond (each request's first copy) while the
// library's receiver thread sends the earlier requests' further copies, so
// that sends from the two threads meet as they do when the tool scans while
// copies are due. A socket of the program's own on loopback plays the device
// and counts, per request id, the copies that arrive. The library is loaded
// from the path given, so that two builds compare in one run.
//
// Usage: copy_loss DLL REQUESTS
// Prints the copies sent and arrived, and the copies lost per 1,000.
#include <winsock2.h>

#include "zova/zova.h"
#include "zovadll/Wire.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>

namespace {

template <typename T>
T Function(HMODULE library, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int main(int argc, char** argv) {
    const long requests = argc == 3 ? std::atol(argv[2]) : 0;
    if (requests < 1 || requests > 100000) {
        std::fprintf(stderr, "usage: copy_loss DLL REQUESTS (1 to 100000)\n");
        return 2;
    }
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET device = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    const int room = 8 * 1024 * 1024;
    const DWORD quietMs = 200;
    if (device == INVALID_SOCKET ||
        bind(device, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(device, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::fprintf(stderr, "copy_loss: no loopback socket\n");
        return 1;
    }
    setsockopt(device, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&room), sizeof room);
    setsockopt(device, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&quietMs),
               sizeof quietMs);
    // The library sends to this socket only, never to the network.
    const std::string target = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    SetEnvironmentVariableA("ZOVA_TARGET", target.c_str());

    std::map<std::uint32_t, int> copies;  // per request id
    std::atomic<bool> sending{true};
    std::thread counter([&] {
        std::uint8_t buffer[zova::wire::kMaxDatagram + 1];
        for (;;) {
            const int size = recv(device, reinterpret_cast<char*>(buffer), sizeof buffer, 0);
            if (size < 0) {
                if (!sending)
                    return;  // quiet after the last copy was due
                continue;
            }
            if (const auto header =
                    zova::wire::DecodeHeader(buffer, static_cast<std::size_t>(size)))
                ++copies[header->id];
        }
    });

    const HMODULE library = LoadLibraryA(argv[1]);
    const auto start = Function<int(ZOVA_CALL*)()>(library, "ZOVA_Start");
    const auto sendWink =
        Function<void(ZOVA_CALL*)(ZOVA_ConfigureRequestType*)>(library, "ZOVA_SendWink");
    if (!library || !start || !sendWink || !start()) {
        std::fprintf(stderr, "copy_loss: %s would not load or start\n", argv[1]);
        ExitProcess(1);
    }
    for (long i = 0; i < requests; ++i) {
        ZOVA_ConfigureRequestType wink{};
        const unsigned char nobody[6] = {0x02,
                                         0x6B,
                                         0xD4,
                                         0xFE,
                                         static_cast<unsigned char>(i >> 8),
                                         static_cast<unsigned char>(i)};
        std::memcpy(wink.abMacAddr, nobody, sizeof nobody);
        sendWink(&wink);
        Sleep(1);
    }
    Sleep(zova::kLastCopyDelayMs + 500);
    sending = false;
    counter.join();

    long arrived = 0;
    for (const auto& entry : copies)
        arrived += entry.second;
    const long expected = requests * static_cast<long>(zova::kRequestCopies);
    std::printf("%ld requests, %ld copies due, %ld arrived (%zu ids): %.2f lost per 1,000\n",
                requests, expected, arrived, copies.size(),
                1000.0 * static_cast<double>(expected - arrived) / static_cast<double>(expected));
    std::fflush(stdout);
    // The library has no stop call; its threads end with the process.
    ExitProcess(0);
}
