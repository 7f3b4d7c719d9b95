#include "framework/Wnd.h"

#include "framework/MessageBox.h"
#include "framework/WinApp.h"

#include <cassert>
#include <vector>

namespace {
bool HasControlAndCode(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY;
}
}  // namespace

CWnd::~CWnd() {
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd))
        UnsubclassWindow();
}

// The object's address lives in the window's GWLP_USERDATA: Wine reads it
// (and the window procedure) in the process itself, where a window property
// costs a round trip to the wineserver on every message. A window whose user
// data someone else already uses is not ours to take.
BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || ::GetWindowLongPtrA(hWnd, GWLP_USERDATA) != 0)
        return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    const LONG_PTR previous =
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    assert(previous == 0);
    (void)previous;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr || m_pfnSuper == nullptr)
        return nullptr;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

// Only a window running our procedure has our object in its user data; any
// other window's user data means something else.
CWnd* CWnd::FromHandleAttached(HWND hWnd) {
    if (hWnd == nullptr ||
        ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc))
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only windows we subclassed call this procedure, so their user data is
    // ours, even when another procedure was put in front of ours since.
    auto* pWnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        CurrentMessage current(*pWnd, message, wParam, lParam);
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the window system.
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        // The window is gone; the object outlives it, untied.
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pWnd->m_pfnSuper = nullptr;
        pWnd->m_hWnd = nullptr;
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_msgCurrent.message, m_msgCurrent.wParam, m_msgCurrent.lParam);
}

const MessageMap* CWnd::GetMessageMap() const {
    static const MessageMap kEmpty;
    return &kEmpty;
}

const MessageMapEntry* CWnd::FindEntry(UINT message, UINT nId, UINT nCode, bool bReflected) const {
    for (const MessageMap* pMap = GetMessageMap(); pMap != nullptr; pMap = pMap->pBaseMap) {
        for (std::size_t i = 0; i < pMap->nEntries; ++i) {
            const MessageMapEntry& entry = pMap->pEntries[i];
            if (entry.nMessage != message || entry.bReflected != bReflected)
                continue;
            if (!HasControlAndCode(message))
                return &entry;
            if (entry.nCode == nCode && (bReflected || entry.nId == nId))
                return &entry;
        }
    }
    return nullptr;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    UINT nId = 0;
    UINT nCode = 0;
    if (message == WM_COMMAND) {
        nId = LOWORD(wParam);
        nCode = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        CWnd* pSender = FromHandleAttached(pHeader->hwndFrom);
        if (pSender != nullptr && pSender != this &&
            pSender->OnChildNotify(message, wParam, lParam, pResult))
            return true;
        nId = static_cast<UINT>(pHeader->idFrom);
        nCode = pHeader->code;
    } else if (message == WM_DRAWITEM) {
        const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* pSender = FromHandleAttached(pDraw->hwndItem);
        if (pSender != nullptr && pSender != this &&
            pSender->OnChildNotify(message, wParam, lParam, pResult))
            return true;
    }
    const MessageMapEntry* pEntry = FindEntry(message, nId, nCode, false);
    if (pEntry == nullptr)
        return false;
    *pResult = pEntry->pfnCall(*this, wParam, lParam);
    return true;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_NOTIFY)
        return false;
    const MessageMapEntry* pEntry =
        FindEntry(message, 0, reinterpret_cast<const NMHDR*>(lParam)->code, true);
    if (pEntry == nullptr)
        return false;
    *pResult = pEntry->pfnCall(*this, wParam, lParam);
    return true;
}

void CWnd::GetWindowText(CString& rString) const {
    const int nLength = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    ::GetWindowTextA(m_hWnd, buffer.data(), nLength + 1);
    rString = buffer.data();
}

int CWnd::MessageBox(const char* pszText, const char* pszCaption, UINT nType) const {
    return framework::ShowMessageBox(m_hWnd, pszText, pszCaption ? pszCaption : AfxGetAppName(),
                                     nType);
}

CWnd::CurrentMessage::CurrentMessage(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam)
    : m_wnd(wnd), m_saved(wnd.m_msgCurrent) {
    m_wnd.m_msgCurrent.hwnd = wnd.m_hWnd;
    m_wnd.m_msgCurrent.message = message;
    m_wnd.m_msgCurrent.wParam = wParam;
    m_wnd.m_msgCurrent.lParam = lParam;
}

CWnd::CurrentMessage::~CurrentMessage() {
    m_wnd.m_msgCurrent = m_saved;
}
