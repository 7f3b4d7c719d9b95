// Where the simulated devices come from: a fleet file, or N generated ones.
#ifndef VANTREL_SIMULATOR_FLEET_H
#define VANTREL_SIMULATOR_FLEET_H

#include "simulator/Device.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace devsim {

struct FleetResult {
    std::vector<Device> devices;
    std::string error;  // "line N: ..." when the text is not a valid fleet
};

// The fleet file format is described in docs/simulator.md.
FleetResult ParseFleet(const std::string& text);

using MacPrefix = std::array<std::uint8_t, 3>;
std::optional<MacPrefix> ParseMacPrefix(const std::string& text);
// Devices 1..count with the prefix and the count in the last three bytes.
std::vector<Device> GenerateFleet(std::uint32_t count, const MacPrefix& prefix);

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_FLEET_H
