#include "tests/acceptance/ToolSession.h"

#include "tests/common/simulator_process.h"
#include "tools/ToolWindow.h"

#include <chrono>
#include <utility>

namespace acceptance {
namespace {

// Bounds, not expectations: Wine starts programs slowly on a busy machine.
constexpr std::chrono::seconds kWindowBound{60};
constexpr std::chrono::seconds kStepBound{30};

std::string ClassOf(HWND hWnd) {
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

}  // namespace

ToolSession::ToolSession(const std::string& target) {
    m_hJob = ::CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    // The tool inherits the target; the test itself never loads the library.
    ::SetEnvironmentVariableA("ZOVA_TARGET", target.c_str());
    const std::string folder = ModuleFolder();
    const std::string program = folder + "VantrelConfig.exe";
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{sizeof startup};
    if (!::CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                          nullptr, folder.c_str(), &startup, &m_info)) {
        m_info = PROCESS_INFORMATION{};
        return;
    }
    ::AssignProcessToJobObject(m_hJob, m_info.hProcess);
    ::ResumeThread(m_info.hThread);
}

ToolSession::~ToolSession() {
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

bool ToolSession::Running() const {
    return Started() && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool ToolSession::WaitForExit() const {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(kStepBound).count();
    return Started() && ::WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

std::vector<HWND> ToolSession::VisibleDialogs() const {
    std::pair<DWORD, std::vector<HWND>> search{m_info.dwProcessId, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
            DWORD dwProcess = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcess);
            if (dwProcess == pSearch->first && ::IsWindowVisible(hWnd) && ClassOf(hWnd) == "#32770")
                pSearch->second.push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND ToolSession::MainWindow() {
    if (m_hMain == nullptr && Started()) {
        vantrel_test::waitUntil(
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

HWND ToolSession::WaitForDialog(const std::string& caption) const {
    HWND hFound = nullptr;
    vantrel_test::waitUntil(
        [&] {
            for (HWND hWnd : VisibleDialogs()) {
                if (WindowText(hWnd) == caption)
                    hFound = hWnd;
            }
            return hFound != nullptr || !Running();
        },
        kStepBound);
    return hFound;
}

bool ToolSession::WaitUntilGone(const std::string& caption) const {
    return vantrel_test::waitUntil(
        [&] {
            for (HWND hWnd : VisibleDialogs()) {
                if (WindowText(hWnd) == caption)
                    return false;
            }
            return true;
        },
        kStepBound);
}

std::vector<std::string> ToolSession::OtherDialogs() const {
    std::vector<std::string> captions;
    for (HWND hWnd : VisibleDialogs()) {
        if (hWnd != m_hMain)
            captions.push_back(WindowText(hWnd));
    }
    return captions;
}

Rows ToolSession::ReadRows() {
    Rows rows;
    if (HWND hMain = MainWindow())
        ReadDeviceRows(hMain, rows);
    return rows;
}

bool ToolSession::WaitForRows(std::size_t count, bool (*accept)(const Rows&)) {
    return vantrel_test::waitUntil(
        [&] {
            const Rows rows = ReadRows();
            return rows.size() == count && (accept == nullptr || accept(rows));
        },
        kWindowBound);
}

std::string WindowText(HWND hWnd) {
    // Asked of the window itself: for another process's window GetWindowText
    // only returns the text the window system keeps, which an edit never sets.
    char text[512] = {};
    DWORD_PTR nResult = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 10000, &nResult);
    text[sizeof text - 1] = '\0';
    return text;
}

std::string MessageOf(HWND hBox) {
    std::string message;
    for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const std::string text = WindowText(hChild);
        if (ClassOf(hChild) == "Static" && !text.empty())
            message += message.empty() ? text : "\n" + text;
    }
    return message;
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
        texts.push_back(static_cast<std::size_t>(column) < row.size() ? row[column] : std::string());
    return texts;
}

}  // namespace acceptance
