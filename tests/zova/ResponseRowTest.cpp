#include "zova/ResponseRow.h"

#include "tests/common/SampleAnswer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace zova;

namespace {

// The sample device at 192.168.0.1, with a gateway and a type of its own.
ZOVA_ModuleScanResponseType Reported() {
    return harness::SampleAnswer(0x01, 0xC0A80001u).Gateway(0x0A0000FFu).Type("VX-200 Gateway");
}

std::vector<std::string> Texts(const ResponseRow& row) {
    return std::vector<std::string>(row.texts.begin(), row.texts.end());
}

}  // namespace

TEST(ResponseRow, ReportedValues) {
    const ResponseRow row = BuildResponseRow(Reported());
    EXPECT_EQ(Texts(row),
              (std::vector<std::string>{"192.168.0.1", "255.255.255.0", "10.0.0.255", "On",
                                        "1.05.12", "VX-200 Gateway", "02-6B-D4-0A-FF-01"}));
    EXPECT_TRUE(row.shown);
}

TEST(ResponseRow, UnreportedValuesShowNotAvailableAndNoRowWithoutMac) {
    ZOVA_ModuleScanResponseType r = Reported();
    r.bIpAddrValid = r.bSubnetMaskValid = r.bGatewayValid = r.bDhcpValid = 0;
    r.bFwVersionValid = r.bTypeValid = r.bMacAddrValid = 0;
    const ResponseRow row = BuildResponseRow(r);
    EXPECT_EQ(Texts(row), std::vector<std::string>(7, "N/A"));
    EXPECT_FALSE(row.shown);
}

TEST(ResponseRow, VersionAndDhcpTexts) {
    const struct {
        unsigned major, minor, build;
        const char* text;
    } versions[] = {
        {1, 5, 12, "1.05.12"},
        {2, 123, 0, "2.123.0"},
        {3, 0, 65535, "3.00.65535"},
        {255, 255, 65535, "255.255.65535"},
    };
    for (const auto& v : versions) {
        ZOVA_ModuleScanResponseType r = Reported();
        r.bFwVersionMajor = static_cast<std::uint8_t>(v.major);
        r.bFwVersionMinor = static_cast<std::uint8_t>(v.minor);
        r.wFwBuild = static_cast<std::uint16_t>(v.build);
        EXPECT_EQ(BuildResponseRow(r).texts[4], v.text);
    }
    const struct {
        std::uint8_t on, valid;
        const char* text;
    } dhcp[] = {
        {1, 1, "On"}, {1, 9, "On"}, {0, 1, "Off"}, {2, 1, "Off"}, {2, 0, "N/A"}, {1, 0, "N/A"},
    };
    for (const auto& d : dhcp) {
        ZOVA_ModuleScanResponseType r = Reported();
        r.bDhcpOn = d.on;
        r.bDhcpValid = d.valid;
        EXPECT_EQ(BuildResponseRow(r).texts[3], d.text) << int{d.on} << '/' << int{d.valid};
    }
}

TEST(ResponseRow, TypeTextStaysInsideItsField) {
    ZOVA_ModuleScanResponseType r = Reported();
    std::memset(r.szType, 'T', sizeof r.szType);  // no terminator; the validity byte follows
    EXPECT_EQ(BuildResponseRow(r).texts[5], std::string(128, 'T'));
    r.szType[3] = '\0';
    EXPECT_EQ(BuildResponseRow(r).texts[5], "TTT");
}

// Catches the wrong one of two stored answers of a device (the first one
// counts) and a match on fewer than six bytes.
TEST(ResponseRow, FindResponseByMacTakesTheFirstOfTheSameSixBytes) {
    std::vector<ZOVA_ModuleScanResponseType> stored(3, Reported());
    stored[0].abMacAddr[0] ^= 0x80;  // differs in the first byte only
    stored[2].dwIpAddr = 0;          // the device's second answer
    const base::Mac mac = base::MacFrom(Reported().abMacAddr);
    EXPECT_EQ(FindResponseByMac(stored, mac), &stored[1]);
    stored[1].abMacAddr[5] ^= 1;
    EXPECT_EQ(FindResponseByMac(stored, mac), &stored[2]);
    EXPECT_EQ(FindResponseByMac({}, mac), nullptr);
}
