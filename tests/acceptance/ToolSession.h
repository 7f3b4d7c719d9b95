// The real tool as a user meets it: VantrelConfig.exe started as its own
// process beside the test, its library aimed at a loopback simulator, and
// its windows read from outside.
#ifndef VANTREL_TESTS_ACCEPTANCE_TOOLSESSION_H
#define VANTREL_TESTS_ACCEPTANCE_TOOLSESSION_H

#include <windows.h>

#include <string>
#include <vector>

namespace acceptance {

using Rows = std::vector<std::vector<std::string>>;

class ToolSession {
public:
    // Starts the tool from the test's own folder with ZOVA_TARGET = target,
    // in a job object that ends it with the test, also when the test crashes.
    explicit ToolSession(const std::string& target);
    ~ToolSession();
    ToolSession(const ToolSession&) = delete;
    ToolSession& operator=(const ToolSession&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    bool Running() const;
    // Waits (bounded) for the tool's process to end.
    bool WaitForExit() const;

    // The main window, once it shows; null when it never does.
    HWND MainWindow();
    // A visible top-level dialog of the tool with this caption, waited for
    // (bounded); null when none appears.
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

std::string WindowText(HWND hWnd);
// The message a message box shows: its non-empty static texts, joined.
std::string MessageOf(HWND hBox);
// The row whose MAC column reads mac, or -1.
int RowOf(const Rows& rows, const std::string& mac);
// The texts of one column, top to bottom.
std::vector<std::string> ColumnOf(const Rows& rows, int column);

}  // namespace acceptance

#endif  // VANTREL_TESTS_ACCEPTANCE_TOOLSESSION_H
