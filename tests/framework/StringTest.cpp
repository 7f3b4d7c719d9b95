#include "framework/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CStringTest, FormatKeepsTheWholeResult) {
    CString text;
    text.Format("%u.%02u.%u", 1u, 5u, 12u);
    EXPECT_STREQ(text, "1.05.12");
    const std::string longText(5000, 'x');
    text.Format("<%s>", longText.c_str());
    EXPECT_EQ(text.GetLength(), 5002);
}

TEST(CStringTest, RemoveAndReplaceCountWhatChanged) {
    struct Case {
        const char* pszStart;
        const char* pszOld;
        const char* pszNew;
        int nCount;
        const char* pszEnd;
    };
    const Case cases[] = {
        {"a-b-c", "-", "", 2, "abc"},
        {"aaa", "a", "aa", 3, "aaaaaa"},  // replacement text is not searched again
        {"abc", "", "x", 0, "abc"},
        {"abab", "ab", "c", 2, "cc"},
    };
    for (const Case& c : cases) {
        CString text(c.pszStart);
        EXPECT_EQ(text.Replace(c.pszOld, c.pszNew), c.nCount) << c.pszStart << " / " << c.pszOld;
        EXPECT_STREQ(text, c.pszEnd) << c.pszStart << " / " << c.pszOld;
    }
    CString spaced("1 2  3");
    EXPECT_EQ(spaced.Remove(' '), 3);
    EXPECT_STREQ(spaced, "123");
    EXPECT_FALSE(spaced.IsEmpty());
}

TEST(CStringTest, LoadStringOfAMissingResourceIsEmpty) {
    CString text("old");
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
