// The simulator's command line (docs/simulator.md).
#ifndef VANTREL_SIMULATOR_OPTIONS_H
#define VANTREL_SIMULATOR_OPTIONS_H

#include "simulator/Fleet.h"
#include "zovadll/Endpoint.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace devsim {

struct Options {
    zova::Endpoint bind{0x7F000001, 17400};
    std::string portFile;
    std::string fleetFile;
    std::optional<std::uint32_t> generate;
    MacPrefix prefix{0x02, 0x6B, 0xD4};
    std::string logFile;  // empty: standard output
    std::chrono::milliseconds answerWindow{0};
    // Only inside a network namespace made by a test may the simulator
    // bind, and so send, anywhere but loopback.
    bool inTestNamespace = false;
    // Devices in DHCP mode without an address ask a DHCP server for one.
    bool dhcpClient = false;
    bool help = false;
};

struct OptionsResult {
    Options options;
    std::string error;
};

// Reads every option; the first error ends the reading.
OptionsResult ParseOptions(const std::vector<std::string>& args);
// The usage text, one line for each option.
std::string Usage();

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_OPTIONS_H
