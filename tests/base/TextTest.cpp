// The shared text helpers: numbers read as the tool's parsers read them, and
// fixed-size fields never read or written past their end.
#include "base/Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

TEST(TextParseDecimal, ReadsLikeAtoiAndSaturates) {
    const struct {
        std::string_view text;
        int expected;
    } cases[] = {
        {"", 0},
        {"   ", 0},
        {"-", 0},
        {"x12", 0},
        {"12", 12},
        {"\v\f\r\n\t 12", 12},  // every C-locale space
        {"\x1f"
         "12",
         0},  // a control character below '\t' is not
        {"+0", 0},
        {"-0", 0},
        {"007", 7},
        {"12.34", 12},
        {"++1", 0},
        {"1 2", 1},
        {"2147483646", INT_MAX - 1},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483647", INT_MIN + 1},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"184467440737095516170", INT_MAX},  // beyond 64 bits as well
        {"-184467440737095516170", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextParseDecimal, StopsAtTheEndOfTheViewNotAtATerminator) {
    const char text[] = "12345";
    EXPECT_EQ(base::ParseDecimal(std::string_view(text, 3)), 123);
    EXPECT_EQ(base::ParseDecimal(std::string_view(text, 0)), 0);
}

TEST(TextSkipSpaceAndSign, LeavesPosAtTheFirstDigit) {
    const struct {
        std::string_view text;
        std::size_t start;
        bool negative;
        std::size_t end;
    } cases[] = {
        {"", 0, false, 0},   {"  -5", 0, true, 3},  {"+5", 0, false, 1},  {"5", 0, false, 0},
        {"- 5", 0, true, 1}, {"ab -5", 2, true, 4}, {" \t", 0, false, 2}, {"--5", 0, true, 1},
    };
    for (const auto& c : cases) {
        std::size_t pos = c.start;
        EXPECT_EQ(base::SkipSpaceAndSign(c.text, pos), c.negative) << '"' << c.text << '"';
        EXPECT_EQ(pos, c.end) << '"' << c.text << '"';
    }
}

TEST(TextBoundedText, StopsAtTheFirstNulOrTheFieldsEnd) {
    const char terminated[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
    const char full[4] = {'w', 'x', 'y', 'z'};  // no terminator anywhere
    const char empty[4] = {};
    EXPECT_EQ(base::FieldText(terminated), "ab");
    EXPECT_EQ(base::FieldText(full), "wxyz");
    EXPECT_EQ(base::FieldText(empty), "");
    EXPECT_EQ(base::BoundedText(full, 2), "wx");
    EXPECT_EQ(base::BoundedText(full, 0), "");
}

TEST(TextCopyToField, CutsTerminatesAndZeroesTheRest) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"abcde", "abcde"},
        {"abcdef", "abcde"},  // one character more than fits
        {"abcdefghijk", "abcde"},
    };
    for (const auto& c : cases) {
        char field[6];
        std::memset(field, 'X', sizeof field);
        base::CopyToField(field, c.text);
        EXPECT_STREQ(field, c.expected) << c.text;
        for (std::size_t i = std::strlen(c.expected); i < sizeof field; ++i)
            EXPECT_EQ(field[i], '\0') << c.text << " byte " << i;
    }
}

TEST(TextCopyToField, ReadsNoMoreOfAnUnterminatedSourceThanTheFieldHolds) {
    // The source is exactly as long as the field, without a terminator;
    // AddressSanitizer reports any read beyond it.
    const char source[4] = {'a', 'b', 'c', 'd'};
    char field[4];
    base::CopyToField(field, source);
    EXPECT_STREQ(field, "abc");
}

TEST(TextParseUnsigned, DigitsOnlyUpToTheLimit) {
    const struct {
        std::string_view text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"0", 0u},
        {"65535", 65535u},
        {"65536", std::nullopt},  // one past the limit
        {"0065535", 65535u},
        {"99999999999999999999", std::nullopt},  // would overflow on the way
        {"", std::nullopt},
        {"+1", std::nullopt},
        {"-1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::ParseUnsigned(c.text, 65535), c.expected) << '"' << c.text << '"';
}

TEST(TextTrimmed, DropsCLocaleSpaceAtBothEndsOnly) {
    EXPECT_EQ(base::Trimmed(" \t\r\n\v\fa b\r\n"), "a b");
    EXPECT_EQ(base::Trimmed(" \t "), "");
    EXPECT_EQ(base::Trimmed("\xA0x"), "\xA0x");  // a no-break space is no C-locale space
}

}  // namespace
