#include "cli/Session.h"

#include "cli/Address.h"
#include "cli/Console.h"

#include "zovadll/Engine.h"

#include <cstdio>

namespace cli {

namespace {

// A twin of a device answers about when it does: by the answers to the
// scan's second copy at the latest, unless the wait ends first.
constexpr std::chrono::milliseconds kTwinsHeard =
    zova::Engine::kCopyDelays[1] + std::chrono::milliseconds(100);

std::unordered_set<std::uint64_t> KeysOf(const std::vector<base::Mac>& macs) {
    std::unordered_set<std::uint64_t> keys;
    for (const base::Mac& mac : macs)
        keys.insert(base::MacKey(mac));
    return keys;
}

bool SendScan(Scan& scan) {
    if (scan.Send())
        return true;
    Err(TargetSetting() ? "vantrel-cli: zova.dll could not send the scan to ZOVA_TARGET; check "
                          "that its address is this machine's or reachable from it\n"
                        : "vantrel-cli: zova.dll could not send the scan: no network adapter "
                          "took it; check that the adapter to the devices is up\n");
    return false;
}

}  // namespace

int StartSession() {
    const std::optional<std::string> target = TargetSetting();
    std::string error;
    if (!CheckTarget(target, error)) {
        Err("vantrel-cli: " + error + '\n');
        return kLibraryRefused;
    }
    if (StartLibrary())
        return kSuccess;
    // Without a target the library broadcasts from every adapter that is up
    // and has an IPv4 address; with none, it has no socket to open.
    Err(target ? "vantrel-cli: zova.dll could not open its UDP socket for ZOVA_TARGET " +
                     Quoted(*target) + "; check that Winsock works on this machine\n"
               : std::string("vantrel-cli: zova.dll could not start: no network adapter with "
                             "an IPv4 address is up; connect the adapter to the devices, or "
                             "set ZOVA_TARGET=ADDRESS:PORT to reach one address\n"));
    return kLibraryRefused;
}

std::chrono::milliseconds WaitOf(double waitSeconds) {
    return std::chrono::milliseconds(static_cast<long long>(waitSeconds * 1000));
}

int ScanFor(const std::vector<base::Mac>& wanted, Scan& scan) {
    if (!SendScan(scan))
        return kLibraryRefused;
    scan.Collect(KeysOf(wanted));
    scan.CollectFor(kTwinsHeard);
    return kSuccess;
}

int ScanAndCheck(const Plan& plan, Scan& scan, std::vector<LineCheck>& checks) {
    std::vector<base::Mac> wanted;
    for (const PlanLine& line : plan.lines)
        if (line.error.empty())
            wanted.push_back(line.mac);
    if (int status = ScanFor(wanted, scan))
        return status;
    checks = CheckPlan(plan, scan.Answers(), scan.Twins());
    if (MovesAnAddress(checks)) {
        scan.Collect();
        checks = CheckPlan(plan, scan.Answers(), scan.Twins());
    }
    return kSuccess;
}

int ReadBackScan(const std::vector<base::Mac>& devices, bool addressMoved, Scan& scan) {
    if (!SendScan(scan))
        return kLibraryRefused;
    scan.Collect(addressMoved ? std::unordered_set<std::uint64_t>{} : KeysOf(devices));
    return kSuccess;
}

std::string NotFoundReason(double waitSeconds) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", waitSeconds);
    return std::string("no answer to the scan within ") + seconds +
           " s; check that it is on and connected, or give a longer --wait";
}

}  // namespace cli
