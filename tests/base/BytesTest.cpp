// The byte writer and reader at their limits: nothing is ever written or
// read past the buffer, and a message that would not fit is refused whole.
#include "base/Bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(Bytes, WriterFillsToCapacityAndRefusesOneMore) {
    std::uint8_t buffer[6] = {};
    base::ByteWriter out(buffer, 5);  // the sixth byte must stay untouched
    out.PutIpv4(0xC0A80001u);
    out.Put(0x7F);
    EXPECT_FALSE(out.Overflowed());
    EXPECT_EQ(out.Used(), 5u);
    out.Put(0x01);
    EXPECT_TRUE(out.Overflowed());
    EXPECT_EQ(out.Used(), 5u);
    const std::uint8_t expected[6] = {192, 168, 0, 1, 0x7F, 0};
    EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof buffer));
    // Once refused, later bytes that would fit are refused too, so a
    // message is never sent with a hole in it.
    base::ByteWriter partial(buffer, 5);
    partial.PutLe32(1);
    partial.PutLe16(2);
    partial.Put(3);
    EXPECT_TRUE(partial.Overflowed());
    EXPECT_EQ(partial.Used(), 4u);
}

TEST(Bytes, ReaderReadsToTheEndAndNotOnePast) {
    const std::uint8_t data[6] = {0x78, 0x56, 0x34, 0x12, 10, 200};
    base::ByteReader in(data, 5);  // the sixth byte was never received
    std::uint32_t value = 0;
    ASSERT_TRUE(in.Le32(value));
    EXPECT_EQ(value, 0x12345678u);
    const std::uint8_t* rest = nullptr;
    EXPECT_FALSE(in.Take(2, rest));
    EXPECT_EQ(in.Remaining(), 1u);  // a refused read reads nothing
    std::uint8_t byte = 0;
    EXPECT_TRUE(in.Byte(byte));
    EXPECT_EQ(byte, 10);
    EXPECT_FALSE(in.Byte(byte));
    EXPECT_TRUE(in.Skip(0));
}

}  // namespace
