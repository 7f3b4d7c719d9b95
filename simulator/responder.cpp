#include "simulator/responder.h"

#include "simulator/json_line.h"
#include "simulator/password.h"
#include "simulator/udp_socket.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace devsim {

using namespace zova::wire;

Responder::Responder(std::vector<Device> devices, std::chrono::milliseconds answerWindow,
                     std::uint32_t seed)
    : devices_(std::move(devices)), answerWindow_(answerWindow), random_(seed) {}

namespace {

// A device answers the sender directly only when the sender is on its own
// subnet; anything else would need a router it may not have. The host's own
// loopback is always reachable, so a simulator on 127.0.0.1 answers as before.
bool reaches(const Device& device, std::uint32_t address) {
    return zova::isLoopback(address) || (device.ip & device.mask) == (address & device.mask);
}

}  // namespace

Device* Responder::find(const base::Mac& mac) {
    const auto it = std::find_if(devices_.begin(), devices_.end(),
                                 [&](const Device& d) { return d.mac == mac; });
    return it == devices_.end() ? nullptr : &*it;
}

Handled Responder::handle(const std::uint8_t* data, std::size_t size, zova::Endpoint from,
                          Challenges::Clock::time_point now) {
    if (const auto header = decodeHeader(data, size)) {
        switch (header->type) {
        case MessageType::ScanRequest:
            if (decodeScanRequest(data, size))
                return scan(header->id, from, now);
            break;
        case MessageType::ConfigureRequest:
            if (const auto request = decodeConfigureRequest(data, size))
                return configure(header->id, *request, from, now);
            break;
        case MessageType::WinkRequest:
            if (const auto mac = decodeWinkRequest(data, size))
                return wink(header->id, *mac, from);
            break;
        default:
            break;  // answers are for the library, not for devices
        }
    }
    Handled dropped;
    dropped.logLine = JsonLine()
                          .add("type", "dropped")
                          .add("from", endpointText(from))
                          .add("size", std::uint64_t{size})
                          .add("outcome", "malformed")
                          .str();
    return dropped;
}

Handled Responder::scan(std::uint32_t id, zova::Endpoint from, Challenges::Clock::time_point now) {
    Handled handled;
    std::uniform_int_distribution<long long> spread(
        0, std::max<long long>(answerWindow_.count() - 1, 0));
    std::uint64_t broadcasts = 0;
    for (Device& device : devices_) {
        if (device.awaitingDhcp)
            continue;
        const bool broadcast = !reaches(device, from.address);
        broadcasts += broadcast ? 1 : 0;
        const std::string challenge =
            device.salted ? device.challenges.issue(challengeSource_, now) : std::string();
        handled.replies.push_back({encodeScanAnswer(id, scanAnswerOf(device, challenge)),
                                   std::chrono::milliseconds(spread(random_)), broadcast});
    }
    handled.logLine = JsonLine()
                          .add("type", "scan")
                          .add("id", std::uint64_t{id})
                          .add("from", endpointText(from))
                          .add("outcome", "answered")
                          .add("answers", std::uint64_t{handled.replies.size()})
                          .add("broadcast", broadcasts)
                          .str();
    return handled;
}

Handled Responder::configure(std::uint32_t id, const ZOVA_ConfigureRequestType& r,
                             zova::Endpoint from, Challenges::Clock::time_point now) {
    base::Mac mac;
    std::memcpy(mac.data(), r.abMacAddr, mac.size());
    JsonLine line;
    line.add("type", "configure")
        .add("id", std::uint64_t{id})
        .add("from", endpointText(from))
        .add("mac", base::MacText(mac));
    Handled handled;
    Device* device = find(mac);
    const char* outcome = "unknown-device";
    std::optional<ConfigureOutcome> answer;
    if (device)
        answer = device->recentConfigures.find(id);
    if (answer) {
        outcome = "repeat";
    } else if (device) {
        const bool passwordRight = passwordAccepted(*device, r.szPassword, now);
        const bool keepable =
            r.bChangePassword != 1 || newPasswordKeepable(*device, r.szNewPassword);
        const bool accepted = passwordRight && keepable;
        // The protocol has one way of saying no; the log tells the two apart.
        answer = accepted ? ConfigureOutcome::Accepted : ConfigureOutcome::WrongPassword;
        device->recentConfigures.remember(id, *answer);
        outcome = accepted ? "accepted" : passwordRight ? "bad-new-password" : "wrong-password";
        if (accepted) {
            // Settings the device does not report it does not have.
            if (device->reports(AnswerItem::IpAddr))
                device->ip = r.dwIpAddr;
            if (device->reports(AnswerItem::SubnetMask))
                device->mask = r.dwSubnetMask;
            if (device->reports(AnswerItem::Gateway))
                device->gateway = r.dwGateway;
            if (device->reports(AnswerItem::Dhcp))
                device->dhcp = r.bDhcpOn == 1;
            if (device->reports(AnswerItem::Hostname))
                device->hostname = r.szHostname;
            if (device->reports(AnswerItem::PrimaryDns))
                device->dns1 = r.dwPrimaryDns;
            if (device->reports(AnswerItem::SecondaryDns))
                device->dns2 = r.dwSecondaryDns;
            if (r.bChangePassword == 1)
                device->storedPassword = r.szNewPassword;
        }
    }
    // Judged with the settings just taken: the device answers as it now is.
    if (answer)
        handled.replies.push_back({encodeConfigureResult(id, {mac, *answer}),
                                   std::chrono::milliseconds(0), !reaches(*device, from.address)});
    line.add("outcome", outcome)
        .add("password", r.szPassword)
        .add("change_password", r.bChangePassword == 1);
    if (r.bChangePassword == 1)
        line.add("new_password", r.szNewPassword);
    line.add("ip", base::Ipv4Text(r.dwIpAddr))
        .add("mask", base::Ipv4Text(r.dwSubnetMask))
        .add("gateway", base::Ipv4Text(r.dwGateway))
        .add("dhcp", r.bDhcpOn == 1)
        .add("hostname", r.szHostname)
        .add("dns1", base::Ipv4Text(r.dwPrimaryDns))
        .add("dns2", base::Ipv4Text(r.dwSecondaryDns));
    handled.logLine = line.str();
    return handled;
}

Handled Responder::wink(std::uint32_t id, const base::Mac& mac, zova::Endpoint from) {
    Device* device = find(mac);
    const char* outcome = "unknown-device";
    if (device && device->recentWinks.find(id)) {
        outcome = "repeat";
    } else if (device) {
        device->recentWinks.remember(id, true);
        outcome = "winked";
    }
    Handled handled;
    handled.logLine = JsonLine()
                          .add("type", "wink")
                          .add("id", std::uint64_t{id})
                          .add("from", endpointText(from))
                          .add("mac", base::MacText(mac))
                          .add("outcome", outcome)
                          .str();
    return handled;
}

}  // namespace devsim
