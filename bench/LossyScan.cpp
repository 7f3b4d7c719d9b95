// Scans through the real zova.dll, one at a time, without ZOVA_TARGET (so
// the library broadcasts out of every adapter), and counts the distinct
// devices each scan brings and when the last new one came. Run by
// bench/lossy_scan.sh inside namespaces whose links drop datagrams at random.
//
// Usage: lossy_scan EXPECTED SCANS SCAN_MS
// SCAN_MS: how long one scan is given, from its request to the next scan;
// long enough for every repeat and every spread answer to have arrived, so
// that no answer is counted for the wrong scan.
// Prints one line: scans, devices expected per scan, the share listed over
// all scans, the worst scan, and the median and largest time to the last new
// device of a scan.
#include "zova/zova.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

std::uint64_t MacOf(const ZOVA_ModuleScanResponseType& answer) {
    std::uint64_t mac = 0;
    for (unsigned char byte : answer.abMacAddr)
        mac = (mac << 8) | byte;
    return mac;
}

void Drain() {
    ZOVA_ModuleScanResponseType answer;
    while (ZOVA_GetResponse(&answer)) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: lossy_scan EXPECTED SCANS SCAN_MS\n");
        return 2;
    }
    const unsigned expected = static_cast<unsigned>(std::atoi(argv[1]));
    const int scans = std::atoi(argv[2]);
    const DWORD scanMs = static_cast<DWORD>(std::atoi(argv[3]));
    if (expected == 0 || scans <= 0 || scans > 1000 || scanMs < 100 || scanMs > 60000) {
        std::fprintf(stderr, "lossy_scan: EXPECTED > 0, SCANS 1..1000, SCAN_MS 100..60000\n");
        return 2;
    }
    // Without ZOVA_TARGET the library broadcasts: only inside the namespaces
    // that lossy_scan.sh makes.
    if (!std::getenv("VANTREL_NETNS") || std::getenv("ZOVA_TARGET")) {
        std::fprintf(stderr, "lossy_scan: run it through bench/lossy_scan.sh\n");
        return 2;
    }
    if (!ZOVA_Start()) {
        std::fprintf(stderr, "lossy_scan: ZOVA_Start failed\n");
        return 1;
    }
    unsigned long long listed = 0;
    unsigned worst = expected;
    std::vector<DWORD> settle;
    for (int scan = 0; scan < scans; ++scan) {
        Drain();
        std::set<std::uint64_t> seen;
        DWORD lastNew = 0;
        const DWORD start = GetTickCount();
        if (!ZOVA_SendModuleScan()) {
            std::fprintf(stderr, "lossy_scan: the scan was not sent\n");
            return 1;
        }
        ZOVA_ModuleScanResponseType answer;
        for (DWORD now = start; now - start < scanMs; now = GetTickCount()) {
            while (ZOVA_GetResponse(&answer)) {
                if (seen.insert(MacOf(answer)).second)
                    lastNew = GetTickCount() - start;
            }
            Sleep(2);
        }
        listed += seen.size();
        worst = std::min<unsigned>(worst, static_cast<unsigned>(seen.size()));
        settle.push_back(lastNew);
    }
    std::sort(settle.begin(), settle.end());
    std::printf(
        "scans %d, devices %u: listed %.3f %% (worst scan %u), settled median %lu ms, "
        "max %lu ms\n",
        scans, expected, 100.0 * double(listed) / (double(expected) * scans), worst,
        static_cast<unsigned long>(settle[settle.size() / 2]),
        static_cast<unsigned long>(settle.back()));
    return 0;
}
