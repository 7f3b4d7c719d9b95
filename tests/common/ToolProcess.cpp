#include "tests/common/ToolProcess.h"

#include "tests/common/ProgramFolder.h"
#include "tests/common/SimulatorProcess.h"
#include "tests/common/WindowText.h"
#include "tools/ToolWindow.h"

#include <chrono>
#include <utility>

namespace harness {
namespace {

// Bounds, not expectations: Wine starts programs slowly on a busy machine.
constexpr std::chrono::seconds kWindowBound{60};
constexpr std::chrono::seconds kStepBound{30};

// A named CALLBACK, not a lambda: on x86 the enumeration calls __stdcall.
BOOL CALLBACK CollectProcessDialog(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == pSearch->first && ::IsWindowVisible(hWnd) && ClassOf(hWnd) == "#32770")
        pSearch->second.push_back(hWnd);
    return TRUE;
}

}  // namespace

ToolProcess::ToolProcess(const std::string& target, const std::string& program,
                         const std::string& folder) {
    // Without a target the library broadcasts: only inside a namespace that a
    // test script made (it sets VANTREL_NETNS).
    if (target.empty() && ::GetEnvironmentVariableA("VANTREL_NETNS", nullptr, 0) == 0)
        return;
    m_hJob = ::CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    const std::string path = program.empty() ? ProgramFolder() + "VantrelConfig.exe" : program;
    const std::string directory = folder.empty() ? ProgramFolder() : folder;
    // The tool inherits the target; the test process itself never loads the library.
    char saved[64] = {};
    const bool bHadTarget = ::GetEnvironmentVariableA("ZOVA_TARGET", saved, sizeof saved) > 0;
    ::SetEnvironmentVariableA("ZOVA_TARGET", target.empty() ? nullptr : target.c_str());
    std::string command = "\"" + path + "\"";
    STARTUPINFOA startup{sizeof startup};
    const BOOL bCreated =
        ::CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                         nullptr, directory.c_str(), &startup, &m_info);
    ::SetEnvironmentVariableA("ZOVA_TARGET", bHadTarget ? saved : nullptr);
    if (!bCreated) {
        m_info = PROCESS_INFORMATION{};
        return;
    }
    ::AssignProcessToJobObject(m_hJob, m_info.hProcess);
    ::ResumeThread(m_info.hThread);
}

ToolProcess::~ToolProcess() {
    if (Started()) {
        if (Running()) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, 10000);
        }
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    if (m_hJob)
        ::CloseHandle(m_hJob);
}

bool ToolProcess::Running() const {
    return Started() && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool ToolProcess::WaitForExit() const {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(kStepBound).count();
    return Started() &&
           ::WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

std::vector<HWND> ToolProcess::VisibleDialogs() const {
    std::pair<DWORD, std::vector<HWND>> search{m_info.dwProcessId, {}};
    ::EnumWindows(&CollectProcessDialog, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND ToolProcess::MainWindow() {
    if (m_hMain == nullptr && Started()) {
        WaitUntil(
            [this] {
                for (HWND hWnd : VisibleDialogs()) {
                    if (::GetDlgItem(hWnd, 1002) != nullptr)  // the device list
                        m_hMain = hWnd;
                }
                return m_hMain != nullptr || !Running();
            },
            kWindowBound);
    }
    return m_hMain;
}

HWND ToolProcess::WaitForDialog(const std::string& caption) const {
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (HWND hWnd : VisibleDialogs()) {
                if (WindowText(hWnd) == caption)
                    hFound = hWnd;
            }
            return hFound != nullptr || !Running();
        },
        kWindowBound);
    return hFound;
}

bool ToolProcess::WaitUntilGone(const std::string& caption) const {
    return WaitUntil(
        [&] {
            for (HWND hWnd : VisibleDialogs()) {
                if (WindowText(hWnd) == caption)
                    return false;
            }
            return true;
        },
        kStepBound);
}

std::vector<std::string> ToolProcess::OtherDialogs() const {
    std::vector<std::string> captions;
    for (HWND hWnd : VisibleDialogs()) {
        if (hWnd != m_hMain)
            captions.push_back(WindowText(hWnd));
    }
    return captions;
}

Rows ToolProcess::ReadRows() {
    Rows rows;
    if (HWND hMain = MainWindow())
        tools::ReadDeviceRows(hMain, rows);
    return rows;
}

bool ToolProcess::WaitForRows(std::size_t count, bool (*accept)(const Rows&)) {
    return WaitUntil(
        [&] {
            const Rows rows = ReadRows();
            return rows.size() == count && (accept == nullptr || accept(rows));
        },
        kWindowBound);
}

int RowOf(const Rows& rows, const std::string& mac) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].size() == 7 && rows[i][6] == mac)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> ColumnOf(const Rows& rows, int column) {
    std::vector<std::string> texts;
    for (const auto& row : rows)
        texts.push_back(static_cast<std::size_t>(column) < row.size() ? row[column]
                                                                      : std::string());
    return texts;
}

}  // namespace harness
