// Answers a dialog that the code under test opens and runs in a modal loop
// of its own (the About box, a configure dialog, Advanced Settings): found
// among the test thread's windows by its caption, and answered from inside
// that loop, as a user answers it.
#ifndef VANTREL_TESTS_COMMON_NESTEDDIALOG_H
#define VANTREL_TESTS_COMMON_NESTEDDIALOG_H

#include <windows.h>

#include <functional>
#include <string>

namespace harness {

// The visible top-level window of the test's thread whose caption starts
// with captionStart and that takes input (not the owner a modal dialog
// disabled), or null. For a step that already runs inside the
// nested dialog's loop (a scripted step posted before the dialog opened).
HWND FindThreadDialog(const std::string& captionStart);

// While it lives: runs answer once, on the first dialog that
// FindThreadDialog(captionStart) finds, from inside that dialog's own modal
// loop. Made before the action that opens the dialog, for an action that
// does not return until the dialog has closed.
class NestedDialog {
public:
    NestedDialog(std::string captionStart, std::function<void(HWND)> answer);
    ~NestedDialog();
    NestedDialog(const NestedDialog&) = delete;
    NestedDialog& operator=(const NestedDialog&) = delete;

    bool Answered() const { return !m_caption.empty(); }
    // The answered dialog's caption.
    const std::string& Caption() const { return m_caption; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    std::string m_captionStart;
    std::function<void(HWND)> m_answer;
    UINT_PTR m_timer = 0;
    std::string m_caption;
};

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_NESTEDDIALOG_H
