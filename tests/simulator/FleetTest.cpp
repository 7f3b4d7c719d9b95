// Fleet files and generated fleets.
#include "simulator/Fleet.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

using namespace devsim;

// The run script starts the simulator with it.
TEST(Fleet, DemoFleetLoads) {
    std::ifstream in(VANTREL_SOURCE_DIR "/simulator/fleets/demo.fleet");
    std::ostringstream text;
    text << in.rdbuf();
    const FleetResult fleet = ParseFleet(text.str());
    EXPECT_EQ(fleet.error, "");
    EXPECT_EQ(fleet.devices.size(), 8u);
}

TEST(Fleet, ReadsEveryKey) {
    const FleetResult fleet = ParseFleet(R"(
# comment
[device]
mac = 0a-11-2c-00-30-99
type = Gateway Modbus TCP/RTU
firmware = 3.0.65535
protocol = 1.10
ip = 10.20.0.15
mask = 255.255.0.0
gateway = 10.20.0.1
dns1 = 10.20.0.2
dns2 = 10.20.0.3
dhcp = on
hostname = mb-gateway
password_protection = on
password = secret
unreported = dns2 , hostname
answer-delay-ms = 500
result-delay-ms = 60000
lost = results
)");
    ASSERT_EQ(fleet.error, "");
    ASSERT_EQ(fleet.devices.size(), 1u);
    const Device& d = fleet.devices[0];
    EXPECT_EQ(d.mac, (base::Mac{0x0A, 0x11, 0x2C, 0x00, 0x30, 0x99}));
    EXPECT_EQ(d.type, "Gateway Modbus TCP/RTU");
    EXPECT_EQ(d.firmwareBuild, 65535);
    EXPECT_EQ(d.protocolMinor, 10);
    EXPECT_EQ(d.ip, 0x0A14000Fu);
    EXPECT_EQ(d.dns2, 0x0A140003u);
    EXPECT_TRUE(d.dhcp);
    EXPECT_TRUE(d.passwordOn);
    EXPECT_FALSE(d.salted);
    EXPECT_EQ(d.storedPassword, "secret");
    EXPECT_EQ(d.unreported, ItemBit(zova::wire::AnswerItem::SecondaryDns) |
                                ItemBit(zova::wire::AnswerItem::Hostname));
    EXPECT_EQ(d.answerDelay.count(), 500);
    EXPECT_EQ(d.resultDelay.count(), 60000);
    EXPECT_EQ(d.lost, Device::Lost::kResults);
}

// Fleet files written before the item names agreed with the console
// program's spell them with '-'; they load as they did.
TEST(Fleet, ItemNamesWrittenWithHyphensStillRead) {
    using zova::wire::AnswerItem;
    for (const std::string key : {"password_protection", "password-protection"}) {
        const FleetResult fleet = ParseFleet("[device]\nmac = 02-6B-D4-00-00-01\n" + key +
                                             " = on\nunreported = dns1, " + key + "\n");
        ASSERT_EQ(fleet.error, "") << key;
        EXPECT_TRUE(fleet.devices[0].passwordOn) << key;
        EXPECT_EQ(fleet.devices[0].unreported,
                  ItemBit(AnswerItem::PrimaryDns) | ItemBit(AnswerItem::PasswordOn))
            << key;
    }
}

TEST(Fleet, MistakesNameTheirLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"mac = 02-6B-D4-00-00-01\n", "line 1: expected [device]"},
        {"[device]\nmac = 02-6B-D4-00-00\n", "line 2: bad mac"},
        {"[device]\nmac = 02-6B-D4-00-00-01-02\n", "line 2: bad mac"},
        {"[device]\nip = 1.2.3.4\n[device]\nmac = 02-6B-D4-00-00-01\n",
         "line 1: device without mac"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nip = 1.2.3\n", "line 3: bad ip"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nprotocol = 1.256\n", "line 3: bad protocol"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nfirmware = 1.2\n", "line 3: bad firmware"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nfirmware = 1.2.65536\n", "line 3: bad firmware"},
        {"[device]\nmac = 02-6B-D4-00-00-01\ndhcp = yes\n", "line 3: bad dhcp"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nunreported = ip, colour\n", "line 3: bad unreported"},
        // A device always sends its protocol version; its salt decides whether it is salted.
        {"[device]\nmac = 02-6B-D4-00-00-01\nunreported = protocol\n", "line 3: bad unreported"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nsalted = on\n", "line 3: bad salted"},
        {"[device]\nmac = 02-6B-D4-00-00-01\ncolour = red\n", "line 3: bad colour"},
        {"[device]\nmac = 02-6B-D4-00-00-01\njust words\n", "line 3: expected key = value"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nsalt = abc\n", "line 1: salt must be two characters"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nresult-delay-ms = 60001\n",
         "line 3: bad result-delay-ms"},
        {"[device]\nmac = 02-6B-D4-00-00-01\nlost = answers\n", "line 3: bad lost"},
    };
    for (const auto& c : cases) {
        const FleetResult fleet = ParseFleet(c.text);
        EXPECT_EQ(fleet.error, c.error) << c.text;
        EXPECT_TRUE(fleet.devices.empty()) << c.text;
    }
}

TEST(Fleet, GeneratedDevicesAreDistinctAndCarryThePrefix) {
    const auto devices = GenerateFleet(70000, {0x0A, 0x11, 0x2C});
    std::set<base::Mac> macs;
    for (const Device& d : devices) {
        EXPECT_EQ(d.mac[0], 0x0A);
        EXPECT_EQ(d.mac[2], 0x2C);
        macs.insert(d.mac);
    }
    EXPECT_EQ(macs.size(), devices.size());
    EXPECT_FALSE(ParseMacPrefix("02-6B"));
    EXPECT_FALSE(ParseMacPrefix("02-6B-D4-00"));
    EXPECT_EQ(ParseMacPrefix("02-6b-D4"), (MacPrefix{0x02, 0x6B, 0xD4}));
}

}  // namespace
