// The packages of this build as a user meets them, in a fresh Wine prefix:
// the installer run silently, its firewall rules asked for, the installed
// tool listing the demo fleet from the simulator and closing, the
// uninstaller removing the rules and leaving nothing behind; the unpacked
// zip's tool doing the same. package-setup.sh has made the packages,
// unpacked the zip into $VANTREL_PACKAGES and put the netsh stand-in into
// the prefix. Built for x64 and x86 alike: a 32-bit test process sees the
// folders and registry view that a 32-bit installer writes to.
#include "tests/common/SimulatorProcess.h"
#include "tests/common/ToolProcess.h"

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
const char* const kPackage = VANTREL_PACKAGE_NAME;
const char* const kShipped[] = {"VantrelConfig.exe",  "zova.dll",   "vantrel-cli.exe",
                                "vantrel-devsim.exe", "demo.fleet", "README.txt",
                                "NOTICES.txt"};
// Where the netsh stand-in writes the command lines it was given.
const char* const kNetshLog = "C:\\netsh-calls.log";
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

// The file a shortcut points to; empty when it cannot be read.
std::string ShortcutTarget(const std::string& shortcut) {
    std::string target;
    ::CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        std::wstring wide(shortcut.begin(), shortcut.end());
        char path[MAX_PATH] = {};
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
                target = path;
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return target;
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
    ASSERT_TRUE(simulator.Running()) << simulator.Error();

    ToolProcess tool(simulator.Target(), folder + "VantrelConfig.exe", folder);
    ASSERT_TRUE(tool.Started()) << folder << "VantrelConfig.exe did not start";
    const HWND hMain = tool.MainWindow();
    ASSERT_NE(hMain, nullptr) << "the main window never showed";
    ASSERT_TRUE(tool.WaitForRows(macs.size())) << simulator.LogText();
    std::vector<std::string> shown = harness::ColumnOf(tool.ReadRows(), kMacColumn);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, macs);

    ::PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(tool.WaitForExit()) << "the tool did not close";
}

// The lines of the netsh stand-in's log that contain every fragment.
std::vector<std::string> NetshCalls(const std::vector<std::string>& fragments) {
    std::vector<std::string> calls;
    std::istringstream lines(ReadFile(kNetshLog));
    std::string line;
    while (std::getline(lines, line)) {
        if (std::all_of(fragments.begin(), fragments.end(), [&](const std::string& fragment) {
                return line.find(fragment) != std::string::npos;
            }))
            calls.push_back(line);
    }
    return calls;
}

TEST(Package, InstallerInstallsRunsAndUninstallsLeavingNothing) {
    const std::string installer = PackageFolder() + kPackage + ".exe";
    ASSERT_TRUE(Exists(installer)) << installer;
    const std::string folder = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantrel Config\\";
    ASSERT_FALSE(Exists(folder)) << "the prefix is not fresh: " << folder;

    // netsh refuses the console program's rule, as it does where no firewall
    // service runs: the install goes on and says so in its log.
    ::DeleteFileA(kNetshLog);
    ::SetEnvironmentVariableA("VANTREL_NETSH_LOG", kNetshLog);
    ::SetEnvironmentVariableA("VANTREL_NETSH_FAIL", "vantrel-cli.exe\" enable=yes");
    ASSERT_EQ(RunAndWait("\"" + installer + "\" /S"), 0) << "the silent install failed";
    for (const char* file : kShipped)
        EXPECT_TRUE(Exists(folder + file)) << file << " is not installed in " << folder;
    std::vector<std::string> shortcuts = ShortcutPlaces();
    shortcuts.erase(std::remove_if(shortcuts.begin(), shortcuts.end(),
                                   [](const std::string& s) { return !Exists(s); }),
                    shortcuts.end());
    ASSERT_FALSE(shortcuts.empty()) << "no Start-menu shortcut " << kShortcut;
    EXPECT_EQ(ShortcutTarget(shortcuts.front()), folder + "VantrelConfig.exe");
    EXPECT_EQ(UninstallValue("DisplayName"), "Vantrel Config");
    EXPECT_EQ(UninstallValue("DisplayVersion"), "1.4.0");
    EXPECT_EQ(UninstallValue("Publisher"), "Ulvenor Ltd");
    EXPECT_NE(UninstallValue("UninstallString").find(folder + "Uninstall.exe"), std::string::npos)
        << UninstallValue("UninstallString");

    for (const char* program : {"VantrelConfig.exe", "vantrel-cli.exe"}) {
        EXPECT_EQ(
            NetshCalls({"netsh.exe\" advfirewall firewall add rule name=\"Vantrel Config",
                        "dir=in action=allow protocol=UDP", "program=\"" + folder + program + "\""})
                .size(),
            1u)
            << "no inbound rule asked for " << program << "\n"
            << ReadFile(kNetshLog);
    }
    const std::string installLog = ReadFile(folder + "install.log");
    EXPECT_NE(installLog.find("inbound UDP allowed for " + folder + "VantrelConfig.exe"),
              std::string::npos)
        << installLog;
    EXPECT_NE(installLog.find("could not add rule \"Vantrel Config CLI\""), std::string::npos)
        << installLog;

    ListsTheDemoFleetAndCloses(folder);

    // The uninstaller runs from a copy of itself in the temporary folder and
    // returns at once: wait until nothing it should remove is left.
    ASSERT_TRUE(Exists(folder + "Uninstall.exe"));
    ::DeleteFileA(kNetshLog);
    ASSERT_EQ(RunAndWait("\"" + folder + "Uninstall.exe\" /S"), 0);
    harness::WaitUntil([&] { return LeftBehind(folder).empty(); }, std::chrono::seconds(60));
    EXPECT_EQ(LeftBehind(folder), std::vector<std::string>{});
    for (const char* program : {"VantrelConfig.exe", "vantrel-cli.exe"}) {
        EXPECT_FALSE(NetshCalls({"delete rule name=\"Vantrel Config",
                                 "program=\"" + folder + program + "\""})
                         .empty())
            << "the rule for " << program << " is not removed\n"
            << ReadFile(kNetshLog);
    }
}

TEST(Package, UnpackedZipRunsInPlace) {
    const std::string folder = PackageFolder() + "unpacked\\" + kPackage + "\\";
    for (const char* file : kShipped)
        EXPECT_TRUE(Exists(folder + file)) << file << " is not in the zip";
    ListsTheDemoFleetAndCloses(folder);
}

}  // namespace
