// MAC and IPv4 addresses both ways: what the library, the simulator and the
// console program take from a person must be one plain reading, and what they
// write must read back.
#include "base/Address.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

// Catches a parser that takes blanks, signs, a fourth digit or an octet above
// 255 (a typo that would then reach another address), or a text that does not
// give the address back.
TEST(AddressIpv4, ReadsOnlyFourDottedOctetsAndWritesThemBack) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> address;
    } cases[] = {
        {"0.0.0.0", 0},
        {"255.255.255.255", 0xFFFFFFFF},
        {"10.200.1.7", 0x0AC80107},
        {"256.0.0.1", std::nullopt},
        {"1.2.3.0400", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1..2.3", std::nullopt},
        {"1.2.3.", std::nullopt},
        {" 1.2.3.4", std::nullopt},
        {"1.2.3.4 ", std::nullopt},
        {"+1.2.3.4", std::nullopt},
        {"a.b.c.d", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::ParseIpv4(c.text), c.address) << c.text;
        if (c.address)
            EXPECT_EQ(base::Ipv4Text(*c.address), c.text);
    }
    EXPECT_EQ(base::ParseIpv4("010.000.0.01"), 0x0A000001u);  // three digits at most, zeros too
    // A DHCP address field holds the first octet first.
    const std::uint8_t wire[4] = {10, 200, 1, 7};
    EXPECT_EQ(base::Ipv4From(wire), 0x0AC80107u);
}

// Catches a MAC reader that takes a cut or padded text, a byte written with
// one digit or a separator other than '-' and ':', and a writer that is not
// the list's upper-case "%02X-" form.
TEST(AddressMac, ReadsSixHexPairsAndWritesTheListsForm) {
    const struct {
        const char* text;
        std::optional<base::Mac> mac;
    } cases[] = {
        {"02-6B-D4-0A-FF-01", base::Mac{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01}},
        {"02-6b-d4-0a-ff-01", base::Mac{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01}},
        {"00:00:00:00:00:0a", base::Mac{0, 0, 0, 0, 0, 0x0A}},
        {"02-6B:D4-0A:FF-01", base::Mac{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01}},
        {"02-6B-D4-0A-FF-0", std::nullopt},
        {"02-6B-D4-0A-FF-011", std::nullopt},
        {"02-6B-D4-0A-FF-01 ", std::nullopt},
        {"2-6B-D4-0A-FF-01-", std::nullopt},
        {"02.6B.D4.0A.FF.01", std::nullopt},
        {"02-6B-D4-0A-FF-0G", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::ParseMac(c.text), c.mac) << c.text;
    EXPECT_EQ(base::MacText({0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01}), "02-6B-D4-0A-FF-01");
    EXPECT_EQ(base::MacText({}), "00-00-00-00-00-00");

    // The simulator's files: three pairs, '-' only.
    std::uint8_t prefix[3] = {9, 9, 9};
    EXPECT_FALSE(base::ParseHexPairs("02:6B:D4", "-", prefix, 3));
    EXPECT_EQ(prefix[0], 9);  // untouched when the text does not read
    ASSERT_TRUE(base::ParseHexPairs("02-6B-D4", "-", prefix, 3));
    EXPECT_EQ(prefix[2], 0xD4);

    // Catches a key that loses a byte or turns the order round.
    EXPECT_EQ(base::MacKey({1, 2, 3, 4, 5, 6}), 0x010203040506u);
}

}  // namespace
