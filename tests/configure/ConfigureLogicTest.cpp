// The configure record, the password scheme, the dialog's starting values and
// the wink test. Digests are computed independently with OpenSSL.
#include "configure/ConfigureRequest.h"
#include "configure/DeviceSettings.h"
#include "configure/PasswordDigest.h"
#include "tests/common/SampleAnswer.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

using namespace configure;

namespace {

std::string OpensslMd5Hex(const std::string& data) {
    unsigned char raw[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(data.data(), data.size(), raw, &size, EVP_md5(), nullptr);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < size; ++i) {
        hex += kHex[raw[i] >> 4];
        hex += kHex[raw[i] & 15];
    }
    return hex;
}

// The device's side of the proof: its two salt characters, then the digest of
// salt and password, then its whole salt text.
std::string ExpectedProof(const std::string& password, const std::string& salt) {
    const std::string prefix = salt.substr(0, 2);
    return OpensslMd5Hex(prefix + OpensslMd5Hex(prefix + password) + salt);
}

// Hands out the given values in order; a draw beyond them fails the test.
RandomSource Scripted(std::deque<int> values, int* draws) {
    return [values, draws]() mutable {
        ++*draws;
        if (values.empty()) {
            ADD_FAILURE() << "more random values drawn than expected";
            return 0;
        }
        const int v = values.front();
        values.pop_front();
        return v;
    };
}

ZOVA_ModuleScanResponseType ResponseWithSalt(const std::string& saltField, std::uint8_t valid) {
    ZOVA_ModuleScanResponseType r =
        harness::SampleAnswer::Bare({0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01}).Salt(saltField);
    r.bPasswordSaltValid = valid;
    return r;
}

const std::string k29 = "abcdefghijklmnopqrstuvwxyzABC";

TEST(PasswordProof, MatchesTheDevicesComputation) {
    const std::string k35(35, 'S');
    struct Case {
        const char* name;
        std::string password;
        std::string saltField;  // bytes of the 35-byte field
        std::string expected;
    } cases[] = {
        {"two-character salt", "secret", "Xy", ExpectedProof("secret", "Xy")},
        {"empty password", "", "Xy", ExpectedProof("", "Xy")},
        {"29-character password", k29, "q7", ExpectedProof(k29, "q7")},
        {"long salt appended whole", "pw", "abcdefghijklmnopqrstuvwxyz01234567",
         ExpectedProof("pw", "abcdefghijklmnopqrstuvwxyz01234567")},
        {"unterminated salt read within its field", "pw", k35, ExpectedProof("pw", k35)},
        {"one-character salt ends the text after it", "pw", std::string("Q\0zz", 4),
         OpensslMd5Hex("Q")},
        {"salt starting with NUL hashes nothing", "pw", std::string("\0zz", 3), OpensslMd5Hex("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A set validity byte right after the field must not leak into the text.
        const ZOVA_ModuleScanResponseType r = ResponseWithSalt(c.saltField, 1);
        EXPECT_EQ(PasswordProof(c.password.c_str(), SaltText(r)), c.expected);
    }
}

TEST(SaltedNewPassword, SaltFromTwoDrawsThenDigest) {
    struct Case {
        int first, second;
        const char* salt;
    } cases[] = {
        {0, 61, "a9"}, {25, 26, "zA"}, {51, 52, "Z0"}, {62, 124, "aa"}, {2147483647, 1000, "bi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("salt ") + c.salt);
        int draws = 0;
        const std::string salted =
            SaltedNewPassword(k29.c_str(), Scripted({c.first, c.second}, &draws));
        EXPECT_EQ(draws, 2);
        EXPECT_EQ(salted, c.salt + OpensslMd5Hex(c.salt + k29));
    }
}

// The record as the device reads it, built from offsets alone.
class ExpectedRecord {
public:
    ExpectedRecord() : bytes_(416, 0) {}
    void Put(std::size_t offset, const std::string& data) {
        std::memcpy(&bytes_[offset], data.data(), data.size());
    }
    void PutLe32(std::size_t offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<unsigned char>(v >> (8 * i));
    }
    void Put8(std::size_t offset, unsigned char v) { bytes_[offset] = v; }

    // Names the first differing offset, so a failure says which field is wrong.
    void ExpectEqual(const ZOVA_ConfigureRequestType& request) const {
        const auto* actual = reinterpret_cast<const unsigned char*>(&request);
        for (std::size_t i = 0; i < bytes_.size(); ++i) {
            if (actual[i] != bytes_[i]) {
                ADD_FAILURE() << "byte at offset " << i << " is " << int(actual[i]) << ", expected "
                              << int(bytes_[i]);
                return;
            }
        }
    }

private:
    std::vector<unsigned char> bytes_;
};

TEST(ConfigureRequest, EveryByteOfTheRecord) {
    const std::string host29 = "Host29charactersLongABCDEF123";
    ASSERT_EQ(host29.size(), 29u);
    struct Case {
        const char* name;
        bool salted;
        bool change;
        int nDhcp;
    } cases[] = {
        {"no salt, keep password, DHCP on", false, false, 0},
        {"no salt, change password, DHCP off", false, true, 1},
        {"salt, keep password, DHCP off", true, false, 1},
        {"salt, change password, DHCP on", true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZOVA_ModuleScanResponseType response = ResponseWithSalt("k3extra", c.salted ? 1 : 0);
        DeviceSettings edited;
        std::strcpy(edited.m_szPassword, "current");
        std::strcpy(edited.m_szNewPassword, "newer");
        std::strcpy(edited.m_szHostname, host29.c_str());
        edited.m_bChangePassword = c.change ? 1 : 0;
        edited.m_nDhcp = c.nDhcp;
        edited.m_dwIpAddress = 0xC0A8000A;
        edited.m_dwSubnetMask = 0xFFFFFF00;
        edited.m_dwGateway = 0xC0A80001;
        edited.m_dwPrimaryDns = 0x08080808;
        edited.m_dwSecondaryDns = 0x01010101;
        int draws = 0;
        const ZOVA_ConfigureRequestType request =
            BuildConfigureRequest(response, edited, Scripted({1, 27}, &draws));

        ExpectedRecord expected;
        expected.Put(0, std::string("\x02\x6B\xD4\x0A\xFF\x01", 6));
        expected.Put(6, c.salted ? ExpectedProof("current", "k3extra") : "current");
        if (c.change) {
            expected.Put8(134, 1);
            expected.Put(135, c.salted ? "bB" + OpensslMd5Hex("bBnewer") : "newer");
        }
        expected.PutLe32(264, 0xC0A8000A);
        expected.PutLe32(268, 0xFFFFFF00);
        expected.PutLe32(272, 0xC0A80001);
        expected.Put8(276, c.nDhcp == 0 ? 1 : 0);
        expected.Put(277, host29);
        expected.PutLe32(408, 0x08080808);
        expected.PutLe32(412, 0x01010101);
        expected.ExpectEqual(request);
        EXPECT_EQ(draws, c.salted && c.change ? 2 : 0);
    }
}

TEST(DialogPrefill, TakesOnlyWhatTheDeviceReported) {
    // 192.168.0.10/24, gateway 192.168.0.1, DHCP on.
    ZOVA_ModuleScanResponseType all = harness::SampleAnswer(0x01, 0xC0A8000A)
                                          .PrimaryDns(0x08080808)
                                          .SecondaryDns(0x01010101)
                                          .PasswordOn(1)
                                          .Hostname("");
    std::memset(all.szHostname, 'h', sizeof all.szHostname);  // unterminated, 128 bytes

    const DeviceSettings p = SettingsFromResponse(all);
    EXPECT_TRUE(p.m_bIpAddressValid && p.m_bSubnetMaskValid && p.m_bGatewayValid &&
                p.m_bPrimaryDnsValid && p.m_bSecondaryDnsValid && p.m_bHostnameValid);
    EXPECT_EQ(p.m_dwIpAddress, 0xC0A8000Au);
    EXPECT_EQ(p.m_dwSubnetMask, 0xFFFFFF00u);
    EXPECT_EQ(p.m_dwGateway, 0xC0A80001u);
    EXPECT_EQ(p.m_dwPrimaryDns, 0x08080808u);
    EXPECT_EQ(p.m_dwSecondaryDns, 0x01010101u);
    EXPECT_EQ(std::string(p.m_szHostname), std::string(29, 'h'));
    EXPECT_EQ(p.m_nDhcp, 0);
    EXPECT_TRUE(p.m_bPasswordEnabled);

    // Values present but not reported stay out of the dialog.
    ZOVA_ModuleScanResponseType none = all;
    none.bIpAddrValid = none.bSubnetMaskValid = none.bGatewayValid = 0;
    none.bPrimaryDnsValid = none.bSecondaryDnsValid = none.bHostnameValid = 0;
    none.bDhcpValid = 0;
    none.bPasswordValid = 0;
    const DeviceSettings q = SettingsFromResponse(none);
    EXPECT_FALSE(q.m_bIpAddressValid || q.m_bSubnetMaskValid || q.m_bGatewayValid ||
                 q.m_bPrimaryDnsValid || q.m_bSecondaryDnsValid || q.m_bHostnameValid);
    EXPECT_EQ(
        q.m_dwIpAddress | q.m_dwSubnetMask | q.m_dwGateway | q.m_dwPrimaryDns | q.m_dwSecondaryDns,
        0u);
    EXPECT_EQ(q.m_szHostname[0], '\0');
    EXPECT_EQ(q.m_nDhcp, 1) << "unknown DHCP state shows Off";
    EXPECT_FALSE(q.m_bPasswordEnabled) << "unknown password state is read-only";
}

TEST(DialogPrefill, DhcpAndPasswordStates) {
    struct Case {
        std::uint8_t on, valid;
        int nDhcp;
        bool passwordEnabled;
    } cases[] = {
        {1, 1, 0, true}, {2, 1, 0, true}, {0, 1, 1, false}, {1, 0, 1, false}, {0, 0, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("value " + std::to_string(c.on) + ", valid " + std::to_string(c.valid));
        ZOVA_ModuleScanResponseType r{};
        r.bDhcpOn = r.bPasswordOn = c.on;
        r.bDhcpValid = r.bPasswordValid = c.valid;
        const DeviceSettings p = SettingsFromResponse(r);
        EXPECT_EQ(p.m_nDhcp, c.nDhcp);
        EXPECT_EQ(p.m_bPasswordEnabled, c.passwordEnabled);
    }
}

TEST(WinkSupport, FromProtocolVersion1_10) {
    struct Case {
        std::uint8_t major, minor;
        bool supported;
    } cases[] = {{1, 10, true}, {1, 255, true}, {2, 0, true},
                 {1, 9, false}, {0, 99, false}, {0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        ZOVA_ModuleScanResponseType r{};
        r.bProtocolVersionMajor = c.major;
        r.bProtocolVersionMinor = c.minor;
        r.bFwVersionMajor = 9;  // the firmware version plays no part
        r.bFwVersionValid = 1;
        EXPECT_EQ(SupportsWink(r), c.supported);
    }
}

}  // namespace
