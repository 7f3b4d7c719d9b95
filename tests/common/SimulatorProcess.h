// Runs vantrel-devsim.exe (built next to the test) as a child process on
// loopback and reads its request log. Windows only: the tests that use it
// run under Wine and talk to the simulator through the real zova.dll.
#ifndef VANTREL_TESTS_COMMON_SIMULATORPROCESS_H
#define VANTREL_TESTS_COMMON_SIMULATORPROCESS_H

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace harness {

class SimulatorProcess {
public:
    // fleetText: the contents of a fleet file, written to a private folder;
    // or generate > 0 for that many generated devices.
    struct Setup {
        std::string fleetText;
        unsigned generate = 0;
        unsigned answerWindowMs = 0;
        // Further command-line options, e.g. "--in-test-namespace --dhcp-client".
        std::string extraOptions;
    };

    explicit SimulatorProcess(const Setup& setup);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Empty when the simulator did not come up; error() then says why.
    bool Running() const { return port_ != 0; }
    const std::string& Error() const { return error_; }
    unsigned short Port() const { return port_; }
    // "127.0.0.1:<port>", the value for ZOVA_TARGET.
    std::string Target() const;

    std::vector<std::string> LogLines() const;
    // The whole log, for failure messages.
    std::string LogText() const;
    // Waits (up to the deadline) for a log line that contains every fragment.
    bool WaitForLog(const std::vector<std::string>& fragments,
                    std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;

private:
    std::string folder_;
    std::string error_;
    HANDLE job_ = nullptr;
    PROCESS_INFORMATION process_{};
    unsigned short port_ = 0;
};

// Waits up to the deadline for the condition, checking it every 10 ms.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_SIMULATORPROCESS_H
