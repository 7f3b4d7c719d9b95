// The devices' side of the protocol: one request in, the answers it causes
// and one log line out. No sockets here, so the behaviour is tested directly.
#ifndef VANTREL_SIMULATOR_RESPONDER_H
#define VANTREL_SIMULATOR_RESPONDER_H

#include "simulator/Device.h"
#include "zovadll/Endpoint.h"
#include "zovadll/Wire.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace devsim {

struct Reply {
    zova::wire::Datagram datagram;
    std::chrono::milliseconds delay;  // after the request arrived
    // To 255.255.255.255 on the sender's port: the device cannot reach the
    // sender with its own address and mask.
    bool broadcast = false;
};

struct Handled {
    std::vector<Reply> replies;
    std::string logLine;  // one JSON object, no newline
};

class Responder {
public:
    // Answers to a scan are spread at random over answerWindow, as a network
    // of real devices does; zero answers at once.
    Responder(std::vector<Device> devices, std::chrono::milliseconds answerWindow,
              std::uint32_t seed = 1);

    Handled Handle(const std::uint8_t* data, std::size_t size, zova::Endpoint from,
                   Challenges::Clock::time_point now = Challenges::Clock::now());
    const std::vector<Device>& Devices() const { return devices_; }
    std::vector<Device>& Devices() { return devices_; }

private:
    Handled Scan(std::uint32_t id, zova::Endpoint from, Challenges::Clock::time_point now);
    Handled Configure(std::uint32_t id, const ZOVA_ConfigureRequestType& request,
                      zova::Endpoint from, Challenges::Clock::time_point now);
    Handled Wink(std::uint32_t id, const base::Mac& mac, zova::Endpoint from);
    Device* Find(const base::Mac& mac);

    std::vector<Device> devices_;
    std::chrono::milliseconds answerWindow_;
    std::mt19937 random_;
    // Challenges must not be foreseeable, so they come from the system.
    std::random_device challengeSource_;
};

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_RESPONDER_H
