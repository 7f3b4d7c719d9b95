// The library check on real version resources of prepared DLLs, and the two
// start-up steps on the test program's own resource (the tool's script).
#include "TestFiles.h"
#include "version/StartupVersion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const int kUntouched = -7;

TEST(DllVersionCheck, FileVersionNumbersOfRealResources) {
    // The translation tests below rest on an English user language.
    ASSERT_EQ(::GetUserDefaultLangID(), 0x0409);
    struct Case {
        const char* file;
        bool result;
        int first, second, third;
        bool accepted;
    };
    const Case cases[] = {
        {"fv_dots", true, 1, 1, 0, true},
        {"fv_commas", true, 1, 1, 0, true},
        {"fv_two_numbers", false, 1, 1, kUntouched, true},
        {"fv_minor_2", true, 1, 2, 0, false},
        {"fv_major_2", true, 2, 1, 0, false},
        // One translation, German: its own table is read.
        {"other_language", true, 1, 1, 0, true},
        // Two translations: only the user's (English) table counts.
        {"two_translations_user", true, 1, 1, 0, true},
        {"two_translations", false, kUntouched, kUntouched, kUntouched, false},
        {"no_version", false, kUntouched, kUntouched, kUntouched, false},
        {"no_such_file", false, kUntouched, kUntouched, kUntouched, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = VersionDataFile(c.file);
        int first = kUntouched, second = kUntouched, third = kUntouched;
        EXPECT_EQ(CDllVersionCheck().GetDllVersion(path.c_str(), &first, &second, &third),
                  c.result);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
        EXPECT_EQ(third, c.third);
        EXPECT_EQ(version::IsZovaLibraryVersionAccepted(path.c_str()), c.accepted);
    }
}

TEST(DllVersionCheck, FileVersionLongerThan255IsCutBeforeSplitting) {
    char text[256];
    ASSERT_TRUE(
        CDllVersionCheck().ReadFileVersionString(VersionDataFile("long_values").c_str(), text));
    EXPECT_EQ(std::string(text), "1.1.0." + std::string(249, '9'));
    EXPECT_TRUE(version::IsZovaLibraryVersionAccepted(VersionDataFile("long_values").c_str()));
}

TEST(StartupVersion, TitleFromOwnVersionAndLibraryBesideTheProgram) {
    EXPECT_EQ(std::string(version::MainWindowTitleFromOwnVersion()), "Vantrel Config v1.4.0");
    EXPECT_EQ(std::string(version::ZovaLibraryPath()), harness::ProgramFolder() + "zova.dll");
}

}  // namespace
