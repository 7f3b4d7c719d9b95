// One simulated device: its settings, what it reports of them, and what it
// remembers of the requests it carried out.
#ifndef VANTREL_SIMULATOR_DEVICE_H
#define VANTREL_SIMULATOR_DEVICE_H

#include "base/Address.h"
#include "simulator/Challenges.h"
#include "simulator/RecentRequests.h"
#include "zova/zova.h"
#include "zovadll/Wire.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace devsim {

// The bit of Device::unreported for a scan-answer item the device leaves out.
// The salt is reported exactly when the device is salted, and the protocol
// version always.
constexpr std::uint32_t ItemBit(zova::wire::AnswerItem item) {
    return 1u << static_cast<unsigned>(item);
}

struct Device {
    base::Mac mac{};
    std::uint8_t protocolMajor = 2;
    std::uint8_t protocolMinor = 0;
    std::string type;
    std::uint8_t firmwareMajor = 1;
    std::uint8_t firmwareMinor = 0;
    std::uint16_t firmwareBuild = 0;
    std::uint32_t ip = 0;
    std::uint32_t mask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t dns1 = 0;
    std::uint32_t dns2 = 0;
    bool dhcp = false;
    std::string hostname;
    bool passwordOn = false;
    bool salted = false;
    // A salted device keeps s0 s1 + md5hex(s0 s1 + password), 34 characters,
    // and reports s0 s1 and a fresh challenge as its salt; an unsalted one
    // keeps the password as typed.
    std::string storedPassword;
    std::uint32_t unreported = 0;
    // In DHCP mode without an address yet: silent until a lease (DhcpClient.h).
    bool awaitingDhcp = false;
    // A slow or lossy path to this device, for the tests of what the console
    // program reports: its scan answers and configure results leave this
    // late, and its configure requests or their results are lost on the way.
    std::chrono::milliseconds answerDelay{0};
    std::chrono::milliseconds resultDelay{0};
    enum class Lost { kNothing, kRequests, kResults } lost = Lost::kNothing;

    RecentRequests<zova::wire::ConfigureOutcome> recentConfigures;
    RecentRequests<bool> recentWinks;
    Challenges challenges;

    bool Reports(zova::wire::AnswerItem item) const { return (unreported & ItemBit(item)) == 0; }
};

// A salted device's salt text is its two salt characters and challenge.
ZOVA_ModuleScanResponseType ScanAnswerOf(const Device& device, const std::string& challenge = {});

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_DEVICE_H
