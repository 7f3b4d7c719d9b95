#include "simulator/Responder.h"

#include "simulator/JsonLine.h"
#include "simulator/Password.h"
#include "simulator/UdpSocket.h"

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
bool Reaches(const Device& device, std::uint32_t address) {
    return zova::IsLoopback(address) || (device.ip & device.mask) == (address & device.mask);
}

}  // namespace

Device* Responder::Find(const base::Mac& mac) {
    const auto it = std::find_if(devices_.begin(), devices_.end(),
                                 [&](const Device& d) { return d.mac == mac; });
    return it == devices_.end() ? nullptr : &*it;
}

Handled Responder::Handle(const std::uint8_t* data, std::size_t size, zova::Endpoint from,
                          Challenges::Clock::time_point now) {
    if (const auto header = DecodeHeader(data, size)) {
        switch (header->type) {
        case MessageType::ScanRequest:
            if (DecodeScanRequest(data, size))
                return Scan(header->id, from, now);
            break;
        case MessageType::ConfigureRequest:
            if (const auto request = DecodeConfigureRequest(data, size))
                return Configure(header->id, *request, from, now);
            break;
        case MessageType::WinkRequest:
            if (const auto mac = DecodeWinkRequest(data, size))
                return Wink(header->id, *mac, from);
            break;
        default:
            break;  // answers are for the library, not for devices
        }
    }
    Handled dropped;
    dropped.logLine = JsonLine()
                          .Add("type", "dropped")
                          .Add("from", EndpointText(from))
                          .Add("size", std::uint64_t{size})
                          .Add("outcome", "malformed")
                          .Str();
    return dropped;
}

Handled Responder::Scan(std::uint32_t id, zova::Endpoint from, Challenges::Clock::time_point now) {
    Handled handled;
    std::uniform_int_distribution<long long> spread(
        0, std::max<long long>(answerWindow_.count() - 1, 0));
    std::uint64_t broadcasts = 0;
    for (Device& device : devices_) {
        if (device.awaitingDhcp)
            continue;
        const bool broadcast = !Reaches(device, from.address);
        broadcasts += broadcast ? 1 : 0;
        const std::string challenge =
            device.salted ? device.challenges.Issue(challengeSource_, now) : std::string();
        handled.replies.push_back({EncodeScanAnswer(id, ScanAnswerOf(device, challenge)),
                                   device.answerDelay + std::chrono::milliseconds(spread(random_)),
                                   broadcast});
    }
    handled.logLine = JsonLine()
                          .Add("type", "scan")
                          .Add("id", std::uint64_t{id})
                          .Add("from", EndpointText(from))
                          .Add("outcome", "answered")
                          .Add("answers", std::uint64_t{handled.replies.size()})
                          .Add("broadcast", broadcasts)
                          .Str();
    return handled;
}

Handled Responder::Configure(std::uint32_t id, const ZOVA_ConfigureRequestType& r,
                             zova::Endpoint from, Challenges::Clock::time_point now) {
    base::Mac mac;
    std::memcpy(mac.data(), r.abMacAddr, mac.size());
    JsonLine line;
    line.Add("type", "configure")
        .Add("id", std::uint64_t{id})
        .Add("from", EndpointText(from))
        .Add("mac", base::MacText(mac));
    Handled handled;
    Device* device = Find(mac);
    const char* outcome = "unknown-device";
    std::optional<ConfigureOutcome> answer;
    if (device)
        answer = device->recentConfigures.Find(id);
    if (device && device->lost == Device::Lost::kRequests) {
        outcome = "lost";
    } else if (answer) {
        outcome = "repeat";
    } else if (device) {
        const bool passwordRight = PasswordAccepted(*device, r.szPassword, now);
        const bool keepable =
            r.bChangePassword != 1 || NewPasswordKeepable(*device, r.szNewPassword);
        const bool accepted = passwordRight && keepable;
        // The protocol has one way of saying no; the log tells the two apart.
        answer = accepted ? ConfigureOutcome::Accepted : ConfigureOutcome::WrongPassword;
        device->recentConfigures.Remember(id, *answer);
        outcome = accepted ? "accepted" : passwordRight ? "bad-new-password" : "wrong-password";
        if (accepted) {
            // Settings the device does not report it does not have.
            if (device->Reports(AnswerItem::IpAddr))
                device->ip = r.dwIpAddr;
            if (device->Reports(AnswerItem::SubnetMask))
                device->mask = r.dwSubnetMask;
            if (device->Reports(AnswerItem::Gateway))
                device->gateway = r.dwGateway;
            if (device->Reports(AnswerItem::Dhcp))
                device->dhcp = r.bDhcpOn == 1;
            if (device->Reports(AnswerItem::Hostname))
                device->hostname = r.szHostname;
            if (device->Reports(AnswerItem::PrimaryDns))
                device->dns1 = r.dwPrimaryDns;
            if (device->Reports(AnswerItem::SecondaryDns))
                device->dns2 = r.dwSecondaryDns;
            if (r.bChangePassword == 1)
                device->storedPassword = r.szNewPassword;
        }
    }
    // Judged with the settings just taken: the device answers as it now is.
    if (answer && device->lost == Device::Lost::kNothing)
        handled.replies.push_back({EncodeConfigureResult(id, {mac, *answer}), device->resultDelay,
                                   !Reaches(*device, from.address)});
    line.Add("outcome", outcome)
        .Add("password", r.szPassword)
        .Add("change_password", r.bChangePassword == 1);
    if (r.bChangePassword == 1)
        line.Add("new_password", r.szNewPassword);
    line.Add("ip", base::Ipv4Text(r.dwIpAddr))
        .Add("mask", base::Ipv4Text(r.dwSubnetMask))
        .Add("gateway", base::Ipv4Text(r.dwGateway))
        .Add("dhcp", r.bDhcpOn == 1)
        .Add("hostname", r.szHostname)
        .Add("dns1", base::Ipv4Text(r.dwPrimaryDns))
        .Add("dns2", base::Ipv4Text(r.dwSecondaryDns));
    handled.logLine = line.Str();
    return handled;
}

Handled Responder::Wink(std::uint32_t id, const base::Mac& mac, zova::Endpoint from) {
    Device* device = Find(mac);
    const char* outcome = "unknown-device";
    if (device && device->recentWinks.Find(id)) {
        outcome = "repeat";
    } else if (device) {
        device->recentWinks.Remember(id, true);
        outcome = "winked";
    }
    Handled handled;
    handled.logLine = JsonLine()
                          .Add("type", "wink")
                          .Add("id", std::uint64_t{id})
                          .Add("from", EndpointText(from))
                          .Add("mac", base::MacText(mac))
                          .Add("outcome", outcome)
                          .Str();
    return handled;
}

}  // namespace devsim
