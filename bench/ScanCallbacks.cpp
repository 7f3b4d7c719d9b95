// What one scan costs the caller of zova.dll per device: callbacks, answers
// fetched, and of those the devices' first answers. The library is loaded
// from the path given, so that two builds of it are measured by the same
// program in the same run (bench/scan_callbacks.sh). The caller points
// ZOVA_TARGET at a simulator on loopback.
//
// Usage: scan_callbacks DLL DEVICES SCANS SCAN_MS
// SCAN_MS: from one scan to the next; longer than the last copy of a request
// plus the simulator's answer window, so that every answer counts for its
// own scan. Prints one line per scan and one with the means per device.
#include "zova/zova.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

std::atomic<long> g_responses{0};

void ZOVA_CALL Count(int notification) {
    if (notification == ZOVA_NOTIFY_RESPONSE)
        ++g_responses;
}

template <typename T>
T Function(HMODULE library, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: scan_callbacks DLL DEVICES SCANS SCAN_MS\n");
        return 2;
    }
    const long devices = std::atol(argv[2]);
    const int scans = std::atoi(argv[3]);
    const DWORD scanMs = static_cast<DWORD>(std::atol(argv[4]));
    // The library never broadcasts with a target set.
    if (devices <= 0 || scans <= 0 || scans > 100 || scanMs < 100 || !std::getenv("ZOVA_TARGET")) {
        std::fprintf(stderr,
                     "scan_callbacks: DEVICES > 0, SCANS 1..100, SCAN_MS >= 100, "
                     "ZOVA_TARGET set\n");
        return 2;
    }
    const HMODULE library = LoadLibraryA(argv[1]);
    if (!library) {
        std::fprintf(stderr, "scan_callbacks: cannot load %s\n", argv[1]);
        return 1;
    }
    const auto registerCallBack =
        Function<void(ZOVA_CALL*)(ZOVA_CallBackType)>(library, "ZOVA_RegisterCallBack");
    const auto start = Function<int(ZOVA_CALL*)()>(library, "ZOVA_Start");
    const auto sendScan = Function<int(ZOVA_CALL*)()>(library, "ZOVA_SendModuleScan");
    const auto getResponse =
        Function<int(ZOVA_CALL*)(ZOVA_ModuleScanResponseType*)>(library, "ZOVA_GetResponse");
    if (!registerCallBack || !start || !sendScan || !getResponse) {
        std::fprintf(stderr, "scan_callbacks: %s lacks a ZOVA_ function\n", argv[1]);
        return 1;
    }
    registerCallBack(&Count);
    if (!start()) {
        std::fprintf(stderr, "scan_callbacks: ZOVA_Start failed\n");
        return 1;
    }
    long totalCallbacks = 0, totalAnswers = 0, totalListed = 0;
    for (int scan = 0; scan < scans; ++scan) {
        const long before = g_responses.load();
        long answers = 0;
        std::set<std::uint64_t> listed;
        const DWORD begin = GetTickCount();
        sendScan();
        ZOVA_ModuleScanResponseType answer;
        while (GetTickCount() - begin < scanMs) {
            while (getResponse(&answer)) {
                ++answers;
                std::uint64_t mac = 0;
                for (unsigned char byte : answer.abMacAddr)
                    mac = (mac << 8) | byte;
                listed.insert(mac);
            }
            Sleep(10);
        }
        const long callbacks = g_responses.load() - before;
        std::printf("scan %d: %ld callbacks, %ld answers fetched, %zu devices of %ld\n", scan + 1,
                    callbacks, answers, listed.size(), devices);
        totalCallbacks += callbacks;
        totalAnswers += answers;
        totalListed += static_cast<long>(listed.size());
    }
    const double per = static_cast<double>(devices) * scans;
    std::printf("per device and scan: %.2f callbacks, %.2f answers fetched; listed %.1f %%\n",
                totalCallbacks / per, totalAnswers / per, 100.0 * totalListed / per);
    std::fflush(stdout);
    // The library has no stop call; its thread ends with the process.
    ExitProcess(0);
}
