#include "framework/Wnd.h"

#include "framework/MessageBox.h"
#include "framework/WinApp.h"

#include <vector>

namespace {
// The window property that names the object tied to a subclassed window.
const char kObjectProperty[] = "Vantrel.CWnd";

bool HasControlAndCode(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY;
}
}  // namespace

CWnd::~CWnd() {
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd))
        UnsubclassWindow();
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandleAttached(hWnd) != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    ::SetPropA(hWnd, kObjectProperty, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr || m_pfnSuper == nullptr)
        return nullptr;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropA(hWnd, kObjectProperty);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

CWnd* CWnd::FromHandleAttached(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, kObjectProperty)) : nullptr;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandleAttached(hWnd);
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
        ::RemovePropA(hWnd, kObjectProperty);
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
