// The real tool as a user meets it: VantrelConfig.exe started as its own
// process beside the test, its library aimed at a loopback port of the
// test's choosing, and its windows read from outside.
#ifndef VANTREL_TESTS_COMMON_TOOLPROCESS_H
#define VANTREL_TESTS_COMMON_TOOLPROCESS_H

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

using Rows = std::vector<std::vector<std::string>>;

class ToolProcess {
public:
    // Starts program (by default the tool beside the test program) in folder
    // with ZOVA_TARGET = target, in a job object that ends it with the test,
    // also when the test crashes. An empty target starts it without
    // ZOVA_TARGET, so that its library broadcasts: only where VANTREL_NETNS
    // is set (inside a namespace a test script made); elsewhere it does not
    // start.
    explicit ToolProcess(const std::string& target, const std::string& program = "",
                         const std::string& folder = "");
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    bool Running() const;
    // Waits (bounded) for the tool's process to end.
    bool WaitForExit() const;

    // The main window, once it shows; null when it never does.
    HWND MainWindow();
    // A visible top-level dialog of the tool with this caption, waited for
    // (bounded) while the tool runs; null when none appears.
    HWND WaitForDialog(const std::string& caption) const;
    // Waits (bounded) until no visible dialog of the tool has this caption.
    bool WaitUntilGone(const std::string& caption) const;
    // Captions of the tool's visible top-level dialogs other than the main window.
    std::vector<std::string> OtherDialogs() const;

    // The device list now; empty when it could not be read.
    Rows ReadRows();
    // Waits (bounded) until the list holds count rows and accept(rows) holds.
    bool WaitForRows(std::size_t count, bool (*accept)(const Rows&) = nullptr);

private:
    std::vector<HWND> VisibleDialogs() const;

    HANDLE m_hJob = nullptr;
    PROCESS_INFORMATION m_info{};
    HWND m_hMain = nullptr;
};

// The row whose MAC column reads mac, or -1.
int RowOf(const Rows& rows, const std::string& mac);
// The texts of one column, top to bottom.
std::vector<std::string> ColumnOf(const Rows& rows, int column);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_TOOLPROCESS_H
