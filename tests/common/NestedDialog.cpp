#include "tests/common/NestedDialog.h"

#include "tests/common/WindowText.h"

#include <utility>

namespace harness {
namespace {

NestedDialog* g_pWaiting = nullptr;

// A named CALLBACK, not a lambda: on x86 the enumeration calls __stdcall.
BOOL CALLBACK MatchThreadDialog(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<std::pair<const std::string*, HWND>*>(lParam);
    if (!::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd) ||
        WindowText(hWnd).rfind(*pSearch->first, 0) != 0)
        return TRUE;
    pSearch->second = hWnd;
    return FALSE;
}

}  // namespace

HWND FindThreadDialog(const std::string& captionStart) {
    std::pair<const std::string*, HWND> search{&captionStart, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchThreadDialog,
                        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Timers fire only while some loop waits for messages: here, the modal loop
// of the dialog the action opened.
NestedDialog::NestedDialog(std::string captionStart, std::function<void(HWND)> answer)
    : m_captionStart(std::move(captionStart)), m_answer(std::move(answer)) {
    g_pWaiting = this;
    m_timer = ::SetTimer(nullptr, 0, 20, &NestedDialog::OnTimer);
}

NestedDialog::~NestedDialog() {
    ::KillTimer(nullptr, m_timer);
    if (g_pWaiting == this)
        g_pWaiting = nullptr;
}

void CALLBACK NestedDialog::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    NestedDialog* pThis = g_pWaiting;
    if (pThis == nullptr || pThis->Answered())
        return;
    HWND hDlg = FindThreadDialog(pThis->m_captionStart);
    if (hDlg == nullptr)
        return;
    pThis->m_caption = WindowText(hDlg);
    pThis->m_answer(hDlg);
}

}  // namespace harness
