// The library check reads the zova.dll the process loaded, even when the
// loader found it somewhere else than beside the program.
#include "TestFiles.h"
#include "version/StartupVersion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LoadedLibrary, TheCheckReadsTheLoadedModuleAndElseTheOneBesideTheProgram) {
    const std::string beside = harness::ProgramFolder() + "zova.dll";
    ASSERT_TRUE(version::IsZovaLibraryVersionAccepted(beside.c_str()));
    EXPECT_EQ(std::string(version::ZovaLibraryPath()), beside) << "nothing loaded yet";

    // A 2.1 library named zova.dll in a folder of its own, loaded from there.
    char szTemp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, szTemp), 0u);
    const std::string folder =
        std::string(szTemp) + "vantrel-loaded-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string elsewhere = folder + "\\zova.dll";
    ASSERT_TRUE(::CopyFileA(VersionDataFile("fv_major_2").c_str(), elsewhere.c_str(), TRUE));
    const HMODULE hLoaded = ::LoadLibraryA(elsewhere.c_str());
    ASSERT_NE(hLoaded, nullptr);

    const std::string checked = static_cast<const char*>(version::ZovaLibraryPath());
    EXPECT_EQ(::lstrcmpiA(checked.c_str(), elsewhere.c_str()), 0) << checked;
    EXPECT_FALSE(version::IsZovaLibraryVersionAccepted(version::ZovaLibraryPath()));

    ::FreeLibrary(hLoaded);
    EXPECT_EQ(std::string(version::ZovaLibraryPath()), beside) << "unloaded again";
    ::DeleteFileA(elsewhere.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
