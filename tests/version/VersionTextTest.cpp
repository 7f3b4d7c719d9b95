// The text rules of the title, the About box and the library check.
#include "version/VersionText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

const int kUntouched = -7;  // what the caller left in an out-value

struct SplitCase {
    const char* text;
    char delimiter;
    bool result;
    int first, second, third;
};

TEST(SplitVersion, TokensNumbersAndOutValuesWrittenAsFound) {
    const SplitCase cases[] = {
        {"1.1.0.3", '.', true, 1, 1, 0},
        {"1, 1, 0, 3", '.', false, 1, kUntouched, kUntouched},
        {"1, 1, 0, 3", ',', true, 1, 1, 0},
        {"1.1", '.', false, 1, 1, kUntouched},
        {"3", '.', false, 3, kUntouched, kUntouched},
        {"", '.', false, kUntouched, kUntouched, kUntouched},
        {"...", '.', false, kUntouched, kUntouched, kUntouched},
        {"..1..2...3..", '.', true, 1, 2, 3},  // empty tokens skipped, as strtok does
        {"4a.b. 7", '.', true, 4, 0, 7},       // atoi: leading blanks, stops at a non-digit
        {"-1.+2.3", '.', true, -1, 2, 3},
        {"99999999999.1.1", '.', true, INT_MAX, 1, 1},      // saturates, never wraps
        {"4294967297.1.0", '.', true, INT_MAX, 1, 0},       // would wrap to 1 in 32 bits
        {"1.2.3", '\0', false, 1, kUntouched, kUntouched},  // no delimiter: one token
    };
    for (const SplitCase& c : cases) {
        std::string text = c.text;
        int first = kUntouched, second = kUntouched, third = kUntouched;
        const bool result = version::SplitVersion(&text[0], &first, &second, &third, c.delimiter);
        SCOPED_TRACE(std::string("text \"") + c.text + "\" delimiter '" + c.delimiter + "'");
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
        EXPECT_EQ(third, c.third);
    }
}

struct FileVersionCase {
    const char* text;
    bool result;
    int first, second, third;
    bool accepted;  // by the library check, with the caller's values preset to 0
};

TEST(SplitFileVersion, DotPassThenCommaPassOnWhatTheDotPassLeft) {
    const FileVersionCase cases[] = {
        {"1.1.0.3", true, 1, 1, 0, true},
        {"1, 1, 0, 3", true, 1, 1, 0, true},
        {"1,1,7", true, 1, 1, 7, true},
        {"1.1", false, 1, 1, kUntouched, true},
        {"1.1.999", true, 1, 1, 999, true},
        // The dot pass ends "1,1" at the dot; the comma pass then sees only "1,1".
        {"1,1.5", false, 1, 1, kUntouched, true},
        {"1.2, 3, 4", false, 1, 2, kUntouched, false},
        {"1.2.0", true, 1, 2, 0, false},
        {"2.1.0", true, 2, 1, 0, false},
        {"2.0.0.1", true, 2, 0, 0, false},
        {"7", false, 7, kUntouched, kUntouched, false},
        {"", false, kUntouched, kUntouched, kUntouched, false},
        {"4294967297.4294967297.0", true, INT_MAX, INT_MAX, 0, false},
    };
    for (const FileVersionCase& c : cases) {
        SCOPED_TRACE(std::string("FileVersion \"") + c.text + "\"");
        std::string text = c.text;
        int first = kUntouched, second = kUntouched, third = kUntouched;
        EXPECT_EQ(version::SplitFileVersion(&text[0], &first, &second, &third), c.result);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
        EXPECT_EQ(third, c.third);

        text = c.text;
        int major = 0, minor = 0, build = 0;
        version::SplitFileVersion(&text[0], &major, &minor, &build);
        EXPECT_EQ(version::IsSupportedLibraryVersion(major, minor), c.accepted);
    }
}

TEST(VersionTexts, TitleAndAboutLinesFromTheProductVersion) {
    struct Case {
        const char* productVersion;
        const char* title;
        const char* aboutLine;
    };
    const Case cases[] = {
        {"1, 4, 0, 0", "Vantrel Config v1.4.0", "Version: 1.4.0.0"},
        {"2.0", "Vantrel Config v2", "Version: 2.0"},
        {"2.1", "Vantrel Config v2", "Version: 2.1"},
        {"3", "Vantrel Config v", "Version: 3"},
        {"", "Vantrel Config v", "Version: "},
        {" 1 , 5 ,2", "Vantrel Config v1.5", "Version: 1.5.2"},
        {"1.4.0.0 beta", "Vantrel Config v1.4.0", "Version: 1.4.0.0beta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("ProductVersion \"") + c.productVersion + "\"");
        EXPECT_EQ(version::MainWindowTitle(c.productVersion), c.title);
        EXPECT_EQ(version::AboutVersionLine(c.productVersion), c.aboutLine);
    }
    EXPECT_EQ(version::AboutLegalLine("Copyright (C) 2026"), "Copyright (C) 2026 Ulvenor Ltd");
    EXPECT_EQ(version::AboutLegalLine(""), " Ulvenor Ltd");
}

TEST(VersionKeys, StringKeysOfTheReaderAndTheLibraryCheck) {
    EXPECT_EQ(version::StringValueKey(0x0409, 0x04B0, "ProductVersion"),
              "\\StringFileInfo\\040904b0\\ProductVersion");
    EXPECT_EQ(version::StringValueKey(0x0C0A, 0x04E4, "Comments"),
              "\\StringFileInfo\\0c0a04e4\\Comments");

    struct Case {
        std::vector<unsigned char> translation;
        unsigned short userLanguage;
        const char* key;
    };
    const Case cases[] = {
        {{0x09, 0x04, 0xB0, 0x04}, 0x0407, "\\StringFileInfo\\040904B0\\FileVersion"},
        {{0x0A, 0x0C, 0xE4, 0x04}, 0x0409, "\\StringFileInfo\\0C0A04E4\\FileVersion"},
        // Anything but exactly one entry: the user's language with code page 04B0.
        {{0x09, 0x04, 0xB0, 0x04, 0x07, 0x04, 0xB0, 0x04},
         0x0C0A,
         "\\StringFileInfo\\0C0A04B0\\FileVersion"},
        {{0x09, 0x04}, 0x0407, "\\StringFileInfo\\040704B0\\FileVersion"},
        {{}, 0x0409, "\\StringFileInfo\\040904B0\\FileVersion"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("expected ") + c.key);
        const void* data = c.translation.empty() ? nullptr : c.translation.data();
        EXPECT_EQ(version::FileVersionKey(data, c.translation.size(), c.userLanguage), c.key);
    }
}

TEST(CopyVersionValue, WholeWhenItFitsElseCutAndAlwaysTerminated) {
    struct Case {
        std::size_t valueLength;  // characters before the terminator
        std::size_t reportedLength;
        bool terminated;  // whether the value carries its zero byte
        std::size_t copied;
    };
    const Case cases[] =
        {
            {0, 1, true, 0},       {3, 4, true, 3},       {254, 255, true, 254},
            {255, 256, true, 255}, {256, 257, true, 255}, {300, 301, true, 255},
            {10, 10, false, 10},  // no terminator within the reported length
            {10, 4, true, 4},     // reported length shorter than the text
        };
    for (const Case& c : cases) {
        SCOPED_TRACE("value of " + std::to_string(c.valueLength) + " characters, length " +
                     std::to_string(c.reportedLength));
        // No byte beyond the value, so reading past it trips the sanitizer.
        std::vector<char> value(c.valueLength + (c.terminated ? 1 : 0), 'v');
        if (c.terminated) {
            value.back() = '\0';
        }
        char buffer[256];
        std::fill(buffer, buffer + sizeof buffer, '#');
        version::CopyVersionValue(buffer, sizeof buffer, value.data(), c.reportedLength);
        EXPECT_EQ(std::string(buffer), std::string(c.copied, 'v'));
        EXPECT_EQ(buffer[255], '\0');
    }
    char buffer[4] = {'#', '#', '#', '#'};
    version::CopyVersionValue(buffer, sizeof buffer, nullptr, 0);
    EXPECT_EQ(std::string(buffer, 4), std::string(4, '\0'));
}

TEST(SiblingPath, LibraryBesideTheProgram) {
    const char* const cases[][2] = {
        {"C:\\Program Files\\Vantrel\\VantrelConfig.exe", "C:\\Program Files\\Vantrel\\zova.dll"},
        {"Z:\\work\\bin/tool.exe", "Z:\\work\\bin/zova.dll"},
        {"\\\\server\\share\\tool.exe", "\\\\server\\share\\zova.dll"},
        {"tool.exe", "zova.dll"},
        {"", "zova.dll"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(version::SiblingPath(c[0], "zova.dll"), c[1]) << "program " << c[0];
    }
}

}  // namespace
