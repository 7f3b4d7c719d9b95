// One process-wide session of the real zova.dll aimed at a simulator on
// loopback, and the notifications it raised.
#ifndef VANTREL_TESTS_COMMON_ZOVASESSION_H
#define VANTREL_TESTS_COMMON_ZOVASESSION_H

#include "base/Address.h"
#include "tests/common/SimulatorProcess.h"
#include "zova/zova.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace harness {

class ZovaSession {
public:
    // The library starts once per process, so one simulator serves a whole
    // test program: each test uses devices of its own.
    static ZovaSession& Get(const SimulatorProcess::Setup& setup) {
        // Destroyed at exit, which ends the simulator process.
        static std::unique_ptr<ZovaSession> session(new ZovaSession(setup));
        return *session;
    }

    SimulatorProcess& Simulator() { return *simulator_; }
    int Started() const { return started_; }

    int Count(int notification) {
        std::lock_guard<std::mutex> lock(Mutex());
        return static_cast<int>(std::count(Log().begin(), Log().end(), notification));
    }
    bool WaitForCount(int notification, int atLeast,
                      std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
        return WaitUntil([&] { return Count(notification) >= atLeast; }, deadline);
    }

    // Scans and collects answers by MAC until `expected` devices answered;
    // extra answers (repeats) only add to the count per MAC.
    std::map<base::Mac, ZOVA_ModuleScanResponseType> Scan(
        std::size_t expected, std::map<base::Mac, int>* answers = nullptr) {
        std::map<base::Mac, ZOVA_ModuleScanResponseType> byMac;
        ZOVA_SendModuleScan();
        WaitUntil(
            [&] {
                ZOVA_ModuleScanResponseType r;
                while (ZOVA_GetResponse(&r)) {
                    base::Mac mac;
                    std::memcpy(mac.data(), r.abMacAddr, 6);
                    byMac.emplace(mac, r);  // the first answer wins, as in the tool
                    if (answers)
                        ++(*answers)[mac];
                }
                return byMac.size() >= expected;
            },
            std::chrono::seconds(60));
        return byMac;
    }

    // Answers of earlier scans' repeats may still be arriving, so a test
    // that waits for a change scans until the device's answer shows it (or
    // the deadline passes) and returns the last answer the device gave.
    ZOVA_ModuleScanResponseType AnswerShowing(
        const base::Mac& mac,
        const std::function<bool(const ZOVA_ModuleScanResponseType&)>& shows) {
        ZOVA_ModuleScanResponseType last{};
        bool found = false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!found && std::chrono::steady_clock::now() < deadline) {
            ZOVA_SendModuleScan();
            WaitUntil(
                [&] {
                    ZOVA_ModuleScanResponseType r;
                    while (ZOVA_GetResponse(&r)) {
                        if (std::memcmp(r.abMacAddr, mac.data(), 6) != 0)
                            continue;
                        last = r;
                        found = found || shows(r);
                    }
                    return found;
                },
                std::chrono::seconds(1));
        }
        return last;
    }

private:
    explicit ZovaSession(const SimulatorProcess::Setup& setup)
        : simulator_(std::make_unique<SimulatorProcess>(setup)) {
        if (!simulator_->Running())
            return;
        SetEnvironmentVariableA("ZOVA_TARGET", simulator_->Target().c_str());
        ZOVA_RegisterCallBack(&ZovaSession::Record);
        started_ = ZOVA_Start();
    }
    // Never destroyed: the library's thread may still call back while the
    // process ends.
    static std::mutex& Mutex() {
        static std::mutex* m = new std::mutex;
        return *m;
    }
    static std::vector<int>& Log() {
        static std::vector<int>* notifications = new std::vector<int>;
        return *notifications;
    }
    static void Record(int notification) {
        std::lock_guard<std::mutex> lock(Mutex());
        Log().push_back(notification);
    }

    std::unique_ptr<SimulatorProcess> simulator_;
    int started_ = 0;
};

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_ZOVASESSION_H
