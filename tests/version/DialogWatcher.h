// Sees every dialog that this thread initialises while the watcher exists:
// a test can read and close a nested modal dialog (the About box) that the
// code under test opens and runs in its own loop.
#ifndef VANTREL_TESTS_VERSION_DIALOGWATCHER_H
#define VANTREL_TESTS_VERSION_DIALOGWATCHER_H

#include <windows.h>

#include <functional>
#include <utility>

class DialogWatcher {
public:
    // onInit runs right after a dialog's WM_INITDIALOG was handled.
    explicit DialogWatcher(std::function<void(HWND)> onInit) {
        Callback() = std::move(onInit);
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &DialogWatcher::Hook, nullptr,
                                      ::GetCurrentThreadId());
    }
    ~DialogWatcher() {
        ::UnhookWindowsHookEx(m_hHook);
        Callback() = nullptr;
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

private:
    static std::function<void(HWND)>& Callback() {
        static std::function<void(HWND)> callback;
        return callback;
    }
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        const auto* pCall = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pCall->message == WM_INITDIALOG && Callback()) {
            Callback()(pCall->hwnd);
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    HHOOK m_hHook;
};

#endif  // VANTREL_TESTS_VERSION_DIALOGWATCHER_H
