#include "simulator/Fleet.h"

#include "base/Address.h"
#include "base/Text.h"
#include "simulator/Password.h"
#include "zova/Columns.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace devsim {
namespace {

// "1.10" or "2.3.17": numbers separated by dots, each within its limit.
bool ParseVersion(const std::string& text, std::initializer_list<unsigned> limits,
                  std::vector<unsigned>& out) {
    std::istringstream in(text);
    out.clear();
    for (unsigned limit : limits) {
        if (!out.empty() && in.get() != '.')
            return false;
        if (in.peek() < '0' || in.peek() > '9')
            return false;
        unsigned long value = 0;
        in >> value;
        if (!in || value > limit)
            return false;
        out.push_back(static_cast<unsigned>(value));
    }
    return in.peek() == EOF;
}

bool ParseSwitch(const std::string& text, bool& out) {
    if (text == "on")
        out = true;
    else if (text == "off")
        out = false;
    else
        return false;
    return true;
}

// A device item's name in a fleet file is its column's name; older fleet
// files wrote '-' where the names have '_' ("password-protection").
const zova::Column* ItemColumn(const std::string& name) {
    std::string spelled = name;
    std::replace(spelled.begin(), spelled.end(), '-', '_');
    return zova::FindColumn(spelled);
}

// The answer item that carries a column's value, for the columns that a
// fleet file may list as unreported: none for the protocol version, which a
// device always sends, nor for whether it is salted, which its salt decides.
std::optional<zova::wire::AnswerItem> AnswerItemOf(zova::ColumnId column) {
    using zova::ColumnId;
    using zova::wire::AnswerItem;
    switch (column) {
    case ColumnId::kIp:
        return AnswerItem::IpAddr;
    case ColumnId::kMask:
        return AnswerItem::SubnetMask;
    case ColumnId::kGateway:
        return AnswerItem::Gateway;
    case ColumnId::kDhcp:
        return AnswerItem::Dhcp;
    case ColumnId::kFirmware:
        return AnswerItem::Firmware;
    case ColumnId::kType:
        return AnswerItem::Type;
    case ColumnId::kMac:
        return AnswerItem::Mac;
    case ColumnId::kHostname:
        return AnswerItem::Hostname;
    case ColumnId::kDns1:
        return AnswerItem::PrimaryDns;
    case ColumnId::kDns2:
        return AnswerItem::SecondaryDns;
    case ColumnId::kPasswordProtection:
        return AnswerItem::PasswordOn;
    case ColumnId::kProtocol:
    case ColumnId::kSalted:
        return std::nullopt;
    }
    return std::nullopt;
}

bool ParseDelay(const std::string& text, std::chrono::milliseconds& out) {
    std::vector<unsigned> numbers;
    if (!ParseVersion(text, {60000}, numbers))
        return false;
    out = std::chrono::milliseconds(numbers[0]);
    return true;
}

bool ParseLost(const std::string& text, Device::Lost& out) {
    if (text == "requests")
        out = Device::Lost::kRequests;
    else if (text == "results")
        out = Device::Lost::kResults;
    else
        return false;
    return true;
}

bool ParseUnreported(const std::string& text, std::uint32_t& out) {
    std::istringstream in(text);
    std::string name;
    out = 0;
    while (std::getline(in, name, ',')) {
        const zova::Column* column = ItemColumn(std::string(base::Trimmed(name)));
        const std::optional<zova::wire::AnswerItem> item =
            column ? AnswerItemOf(column->id) : std::nullopt;
        if (!item)
            return false;
        out |= ItemBit(*item);
    }
    return true;
}

// One [device] section as read so far; the password is stored only once the
// section is complete, because it depends on the salt.
struct Section {
    Device device;
    bool hasMac = false;
    std::string password;
    std::string salt;
    int line = 0;
};

std::string Finish(Section& s, std::vector<Device>& devices) {
    if (!s.hasMac)
        return "device without mac";
    if (!s.salt.empty() && s.salt.size() != 2)
        return "salt must be two characters";
    s.device.salted = !s.salt.empty();
    s.device.storedPassword = StoredPassword(s.password, s.salt);
    devices.push_back(s.device);
    return "";
}

// Sets one of the device's items from its line in a fleet file.
bool ApplyItem(Section& s, zova::ColumnId column, const std::string& value) {
    using zova::ColumnId;
    Device& d = s.device;
    std::vector<unsigned> numbers;
    const auto address = [&](std::uint32_t& out) {
        const auto parsed = base::ParseIpv4(value);
        if (parsed)
            out = *parsed;
        return parsed.has_value();
    };
    switch (column) {
    case ColumnId::kMac:
        // Hex pairs joined by '-' only, as the fleet files write them.
        return s.hasMac = base::ParseHexPairs(value, "-", d.mac.data(), d.mac.size());
    case ColumnId::kType:
        d.type = value;
        return true;
    case ColumnId::kHostname:
        d.hostname = value;
        return true;
    case ColumnId::kIp:
        return address(d.ip);
    case ColumnId::kMask:
        return address(d.mask);
    case ColumnId::kGateway:
        return address(d.gateway);
    case ColumnId::kDns1:
        return address(d.dns1);
    case ColumnId::kDns2:
        return address(d.dns2);
    case ColumnId::kDhcp:
        return ParseSwitch(value, d.dhcp);
    case ColumnId::kPasswordProtection:
        return ParseSwitch(value, d.passwordOn);
    case ColumnId::kProtocol:
        if (!ParseVersion(value, {255, 255}, numbers))
            return false;
        d.protocolMajor = static_cast<std::uint8_t>(numbers[0]);
        d.protocolMinor = static_cast<std::uint8_t>(numbers[1]);
        return true;
    case ColumnId::kFirmware:
        if (!ParseVersion(value, {255, 255, 65535}, numbers))
            return false;
        d.firmwareMajor = static_cast<std::uint8_t>(numbers[0]);
        d.firmwareMinor = static_cast<std::uint8_t>(numbers[1]);
        d.firmwareBuild = static_cast<std::uint16_t>(numbers[2]);
        return true;
    case ColumnId::kSalted:  // the salt decides it
        return false;
    }
    return false;
}

// Applies one "key = value" line to the section; false for a bad key or value.
bool Apply(Section& s, const std::string& key, const std::string& value) {
    if (const zova::Column* column = ItemColumn(key))
        return ApplyItem(s, column->id, value);
    Device& d = s.device;
    if (key == "password") {
        s.password = value;
        return true;
    }
    if (key == "salt") {
        s.salt = value;
        return true;
    }
    if (key == "unreported")
        return ParseUnreported(value, d.unreported);
    if (key == "answer-delay-ms")
        return ParseDelay(value, d.answerDelay);
    if (key == "result-delay-ms")
        return ParseDelay(value, d.resultDelay);
    if (key == "lost")
        return ParseLost(value, d.lost);
    return false;
}

}  // namespace

FleetResult ParseFleet(const std::string& text) {
    FleetResult result;
    std::istringstream in(text);
    std::string raw;
    std::optional<Section> section;
    int number = 0;
    const auto fail = [&](int line, const std::string& message) {
        result.devices.clear();
        result.error = "line " + std::to_string(line) + ": " + message;
        return result;
    };
    while (std::getline(in, raw)) {
        ++number;
        const std::string line(base::Trimmed(raw));
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "[device]") {
            if (section) {
                const std::string error = Finish(*section, result.devices);
                if (!error.empty())
                    return fail(section->line, error);
            }
            section = Section{};
            section->line = number;
            continue;
        }
        if (!section)
            return fail(number, "expected [device]");
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return fail(number, "expected key = value");
        const std::string key(base::Trimmed(line.substr(0, equals)));
        if (!Apply(*section, key, std::string(base::Trimmed(line.substr(equals + 1)))))
            return fail(number, "bad " + key);
    }
    if (section) {
        const std::string error = Finish(*section, result.devices);
        if (!error.empty())
            return fail(section->line, error);
    }
    return result;
}

std::optional<MacPrefix> ParseMacPrefix(const std::string& text) {
    MacPrefix prefix;
    if (!base::ParseHexPairs(text, "-", prefix.data(), prefix.size()))
        return std::nullopt;
    return prefix;
}

std::vector<Device> GenerateFleet(std::uint32_t count, const MacPrefix& prefix) {
    std::vector<Device> devices(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t n = i + 1;
        Device& d = devices[i];
        d.mac = {prefix[0],
                 prefix[1],
                 prefix[2],
                 static_cast<std::uint8_t>(n >> 16),
                 static_cast<std::uint8_t>(n >> 8),
                 static_cast<std::uint8_t>(n)};
        d.type = "Simulated I/O module";
        d.firmwareMajor = 1;
        d.firmwareMinor = static_cast<std::uint8_t>(n % 20);
        d.firmwareBuild = static_cast<std::uint16_t>(n);
        d.ip = 0x0A000000u | (n & 0xFFFFFF);
        d.mask = 0xFF000000u;
        d.gateway = 0x0A000001u;
        d.dns1 = 0x0A000002u;
        char name[16];
        std::snprintf(name, sizeof name, "sim-%06x", static_cast<unsigned>(n & 0xFFFFFF));
        d.hostname = name;
    }
    return devices;
}

}  // namespace devsim
