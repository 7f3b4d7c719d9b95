// The version reader on real version resources, read by the platform's
// version functions: the test program's own (the tool's resource script is
// linked in) and prepared DLLs.
#include "TestFiles.h"
#include "tests/common/MessageBoxRecorder.h"
#include "version/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const DWORD kCodePage = 0x04B0;
const WORD kEnglish = 0x0409;

std::vector<std::string> Strings(const CVFXVersionData& d) {
    const CString* const all[] = {
        &d.m_strFileVersion,      &d.m_strProductVersion, &d.m_strCompanyName,
        &d.m_strFileDescription,  &d.m_strInternalName,   &d.m_strLegalCopyright,
        &d.m_strOriginalFilename, &d.m_strProductName,    &d.m_strComments,
        &d.m_strLegalTrademarks,  &d.m_strPrivateBuild,   &d.m_strSpecialBuild};
    std::vector<std::string> texts;
    for (const CString* s : all) {
        texts.emplace_back(static_cast<const char*>(*s));
    }
    return texts;
}

std::vector<int> Words(const WORD (&w)[4]) {
    return {w[0], w[1], w[2], w[3]};
}

TEST(VersionReader, NullOrBlankNameReadsTheRunningProgram) {
    const char* const names[] = {nullptr, "", "   ", " \t "};
    for (const char* name : names) {
        SCOPED_TRACE(name ? "name \"" + std::string(name) + "\"" : "null name");
        CVFXVersionData data;
        CVFXVersionInfo reader(kCodePage, kEnglish);
        ASSERT_TRUE(reader.Read(data, name));
        EXPECT_EQ(std::string(data.m_strFileName), harness::ProgramPath());
        EXPECT_EQ(Words(data.m_wFileVersion), (std::vector<int>{1, 4, 0, 0}));
        EXPECT_EQ(Words(data.m_wProductVersion), (std::vector<int>{1, 4, 0, 0}));
        const std::vector<std::string> expected = {
            "1, 4, 0, 0", "1, 4, 0, 0", "", "", "", "Copyright (C) 2026", "", "", "", "", "", ""};
        EXPECT_EQ(Strings(data), expected);
    }
}

TEST(VersionReader, StringTableOfAnotherLanguageGivesWordsButNoStrings) {
    CVFXVersionData data;
    CVFXVersionInfo reader(kCodePage, kEnglish);
    const std::string path = VersionDataFile("other_language");
    ASSERT_TRUE(reader.Read(data, path.c_str()));
    EXPECT_EQ(std::string(data.m_strFileName), path);
    EXPECT_EQ(Words(data.m_wFileVersion), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(Words(data.m_wProductVersion), (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(Strings(data), std::vector<std::string>(12));
    EXPECT_FALSE(data.IsEmpty());
}

TEST(VersionReader, ValueOf300CharactersIsCutTo255) {
    CVFXVersionData data;
    CVFXVersionInfo reader(kCodePage, kEnglish);
    ASSERT_TRUE(reader.Read(data, VersionDataFile("long_values").c_str()));
    EXPECT_EQ(std::string(data.m_strComments), std::string(255, 'C'));
    EXPECT_EQ(std::string(data.m_strFileVersion), "1.1.0." + std::string(249, '9'));
}

TEST(VersionReader, FailuresLeaveTheRecordResetAndEmpty) {
    const std::string cases[] = {
        VersionDataFile("no_version"),                  // a file without a version resource
        harness::ProgramFolder() + "no-such-file.dll",  // no file at all
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        CVFXVersionData data;
        CVFXVersionInfo reader(kCodePage, kEnglish);
        ASSERT_TRUE(reader.Read(data, nullptr));  // a full record first
        EXPECT_FALSE(reader.Read(data, path.c_str()));
        EXPECT_TRUE(data.IsEmpty());
        EXPECT_EQ(std::string(data.Format()), "No version information is available");
    }
}

TEST(VersionReader, ThreadLocaleIsTheReadersAndComesBackAfterwards) {
    const LCID original = ::GetThreadLocale();
    const LCID german = MAKELCID(0x0407, SORT_DEFAULT);
    ASSERT_TRUE(::SetThreadLocale(german));
    {
        CVFXVersionInfo reader(kCodePage, kEnglish);
        EXPECT_EQ(::GetThreadLocale(), MAKELCID(kEnglish, SORT_DEFAULT));
    }
    EXPECT_EQ(::GetThreadLocale(), german);

    // A language that is no locale leaves the thread's locale alone, and its
    // id still selects the string table.
    {
        CVFXVersionInfo reader(kCodePage, 0x7F7F);
        EXPECT_EQ(::GetThreadLocale(), german);
        CVFXVersionData data;
        ASSERT_TRUE(reader.Read(data, VersionDataFile("unknown_language").c_str()));
        EXPECT_EQ(std::string(data.m_strProductName), "unknown language");
    }
    EXPECT_EQ(::GetThreadLocale(), german);
    ::SetThreadLocale(original);
}

TEST(VersionData, FormatAssignAndDisplay) {
    CVFXVersionData data;
    EXPECT_TRUE(data.IsEmpty());
    CVFXVersionInfo reader(kCodePage, kEnglish);
    ASSERT_TRUE(reader.Read(data, nullptr));
    const std::string expected = "VS_VERSION_INFO for " + harness::ProgramPath() +
                                 ":\n\nFileVersion: 1, 4, 0, 0\nProductVersion: 1, 4, 0, 0\n"
                                 "CompanyName: \nFileDescription: \nInternalName: \n"
                                 "LegalCopyright: Copyright (C) 2026\nOriginalFileName: \n"
                                 "ProductName: \nComments \nLegalTradeMarks: \n"
                                 "PrivateBuild: \nSpecialBuild: \n";
    EXPECT_EQ(std::string(data.Format()), expected);

    CVFXVersionData copy;
    copy.Assign(data);
    EXPECT_EQ(std::string(copy.Format()), expected);
    copy.Reset();
    EXPECT_TRUE(copy.IsEmpty());

    // Any single field keeps a record from being empty.
    CVFXVersionData one;
    one.m_wProductVersion[3] = 1;
    EXPECT_FALSE(one.IsEmpty());
    one.Reset();
    one.m_strSpecialBuild = "x";
    EXPECT_FALSE(one.IsEmpty());

    testing::internal::CaptureStdout();
    data.Display(true);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);

    harness::MessageBoxRecorder boxes;
    data.Display(false);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].strText, expected);
    EXPECT_EQ(boxes.Boxes()[0].nType, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST(VersionClasses, RunTimeClassNames) {
    CVFXVersionInfo reader(kCodePage, kEnglish);
    CVFXPointer pointer(nullptr, true);
    CVFXModule module;
    EXPECT_STREQ(reader.GetRuntimeClass()->m_lpszClassName, "CVFXVersionInfo");
    EXPECT_EQ(reader.GetRuntimeClass()->m_wSchema, 0xFFFFu);
    EXPECT_STREQ(pointer.GetRuntimeClass()->m_lpszClassName, "CVFXPointer");
    EXPECT_STREQ(module.GetRuntimeClass()->m_lpszClassName, "CObject");
    EXPECT_FALSE(AfxIsValidString(nullptr));
    EXPECT_TRUE(AfxIsValidString(""));
}

}  // namespace
