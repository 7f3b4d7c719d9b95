// The packages as a user meets them, in a fresh Wine prefix: the installer
// run silently, the installed tool listing the demo fleet from the simulator
// and closing, the uninstaller leaving nothing behind; the unpacked zip's
// tool doing the same. package-setup.sh has made the packages and unpacked
// the zip into $VANTREL_PACKAGES.
#include "tests/common/ToolProcess.h"
#include "tests/common/simulator_process.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using harness::Rows;
using harness::SimulatorProcess;
using harness::ToolProcess;

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel Config";
const char* const kShortcut = "\\Vantrel Config\\Vantrel Config.lnk";
const char* const kShipped[] = {"VantrelConfig.exe", "zova.dll",   "vantrel-devsim.exe",
                                "demo.fleet",        "README.txt", "NOTICES.txt"};
constexpr int kMacColumn = 6;

// $VANTREL_PACKAGES as a Windows path, with the closing backslash.
std::string PackageFolder() {
    const char* path = std::getenv("VANTREL_PACKAGES");
    std::string folder = path ? path : "";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    if (!folder.empty() && folder[0] == '\\')
        folder = "Z:" + folder;
    return folder + "\\";
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The Start-menu shortcuts, for all users and for this one.
std::vector<std::string> ShortcutPlaces() {
    return {ShellFolder(CSIDL_COMMON_PROGRAMS) + kShortcut,
            ShellFolder(CSIDL_PROGRAMS) + kShortcut};
}

// A value of the uninstall entry, machine-wide or the user's; empty when absent.
std::string UninstallValue(const char* name) {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        char value[512] = {};
        DWORD size = sizeof value;
        if (::RegGetValueA(root, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) ==
            ERROR_SUCCESS)
            return value;
    }
    return "";
}

bool UninstallEntryExists() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, kUninstallKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            ::RegCloseKey(key);
            return true;
        }
    }
    return false;
}

bool RegistryKeyExists(const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// What an uninstall must remove and is still there.
std::vector<std::string> LeftBehind(const std::string& folder) {
    std::vector<std::string> left;
    if (Exists(folder))
        left.push_back(folder);
    if (UninstallEntryExists())
        left.push_back(kUninstallKey);
    if (RegistryKeyExists("Software\\Ulvenor Ltd"))
        left.push_back("HKLM\\Software\\Ulvenor Ltd");
    for (const std::string& shortcut : ShortcutPlaces()) {
        const std::string menuFolder = shortcut.substr(0, shortcut.find_last_of('\\'));
        if (Exists(menuFolder))
            left.push_back(menuFolder);
    }
    return left;
}

// Runs command and waits (bounded) for it; its exit code, or -1.
int RunAndWait(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(info.hProcess, 180000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fleet's MACs, sorted, as the list shows them.
std::vector<std::string> FleetMacs(const std::string& fleet) {
    std::vector<std::string> macs;
    std::istringstream lines(fleet);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("mac", 0) != 0 || line.find('=') == std::string::npos)
            continue;
        std::string mac = line.substr(line.find('=') + 1);
        mac.erase(0, mac.find_first_not_of(" \t"));
        mac.erase(mac.find_last_not_of(" \t\r") + 1);
        std::transform(mac.begin(), mac.end(), mac.begin(), ::toupper);
        macs.push_back(mac);
    }
    std::sort(macs.begin(), macs.end());
    return macs;
}

// Starts folder's tool against a simulator with folder's demo fleet, waits
// until it lists exactly the fleet, and closes it with its close box.
void ListsTheDemoFleetAndCloses(const std::string& folder) {
    const std::string fleet = ReadFile(folder + "demo.fleet");
    const std::vector<std::string> macs = FleetMacs(fleet);
    ASSERT_FALSE(macs.empty()) << "no demo fleet in " << folder;
    SimulatorProcess simulator(SimulatorProcess::Setup{fleet});
    ASSERT_TRUE(simulator.running()) << simulator.error();

    ToolProcess tool(simulator.target(), folder + "VantrelConfig.exe", folder);
    ASSERT_TRUE(tool.Started()) << folder << "VantrelConfig.exe did not start";
    const HWND hMain = tool.MainWindow();
    ASSERT_NE(hMain, nullptr) << "the main window never showed";
    ASSERT_TRUE(tool.WaitForRows(macs.size())) << simulator.logText();
    std::vector<std::string> shown = harness::ColumnOf(tool.ReadRows(), kMacColumn);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, macs);

    ::PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(tool.WaitForExit()) << "the tool did not close";
}

TEST(Package, InstallerInstallsRunsAndUninstallsLeavingNothing) {
    const std::string installer = PackageFolder() + "VantrelConfig-1.4.0-win64.exe";
    ASSERT_TRUE(Exists(installer)) << installer;
    const std::string folder = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantrel Config\\";
    ASSERT_FALSE(Exists(folder)) << "the prefix is not fresh: " << folder;

    ASSERT_EQ(RunAndWait("\"" + installer + "\" /S"), 0) << "the silent install failed";
    for (const char* file : kShipped)
        EXPECT_TRUE(Exists(folder + file)) << file << " is not installed in " << folder;
    const std::vector<std::string> shortcuts = ShortcutPlaces();
    EXPECT_TRUE(std::any_of(shortcuts.begin(), shortcuts.end(), Exists))
        << "no Start-menu shortcut " << kShortcut;
    EXPECT_EQ(UninstallValue("DisplayName"), "Vantrel Config");
    EXPECT_EQ(UninstallValue("DisplayVersion"), "1.4.0");
    EXPECT_EQ(UninstallValue("Publisher"), "Ulvenor Ltd");
    EXPECT_NE(UninstallValue("UninstallString").find(folder + "Uninstall.exe"), std::string::npos)
        << UninstallValue("UninstallString");

    ListsTheDemoFleetAndCloses(folder);

    // The uninstaller runs from a copy of itself in the temporary folder and
    // returns at once: wait until nothing it should remove is left.
    ASSERT_TRUE(Exists(folder + "Uninstall.exe"));
    ASSERT_EQ(RunAndWait("\"" + folder + "Uninstall.exe\" /S"), 0);
    harness::waitUntil([&] { return LeftBehind(folder).empty(); }, std::chrono::seconds(60));
    EXPECT_EQ(LeftBehind(folder), std::vector<std::string>{});
}

TEST(Package, UnpackedZipRunsInPlace) {
    const std::string folder = PackageFolder() + "unpacked\\VantrelConfig-1.4.0-win64\\";
    for (const char* file : kShipped)
        EXPECT_TRUE(Exists(folder + file)) << file << " is not in the zip";
    ListsTheDemoFleetAndCloses(folder);
}

}  // namespace
