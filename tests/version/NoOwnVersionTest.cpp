// A program without a version resource of its own: the title keeps only the
// product name and the "v".
#include "version/StartupVersion.h"
#include "version/VersionInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NoOwnVersion, TitleEndsAfterTheV) {
    CVFXVersionData data;
    CVFXVersionInfo reader(0x04B0, 0x0409);
    EXPECT_FALSE(reader.Read(data, nullptr));
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_EQ(std::string(version::MainWindowTitleFromOwnVersion()), "Vantrel Config v");
}

}  // namespace
