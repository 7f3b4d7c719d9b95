// CWnd: a C++ object tied to one window. Controls are tied by subclassing
// (SubclassWindow, done by DDX_Control), dialogs by their dialog procedure
// (CDialog). Messages then go through the object's message map; what the map
// does not handle, and what a handler passes on with Default(), reaches the
// window's original procedure.
#ifndef VANTREL_FRAMEWORK_WND_H
#define VANTREL_FRAMEWORK_WND_H

#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/String.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // Ties the object to an existing window and routes its messages through
    // the message map. PreSubclassWindow runs first, with m_hWnd already set.
    // FALSE when the window's user data (GWLP_USERDATA), which holds the
    // object's address, is already in use.
    BOOL SubclassWindow(HWND hWnd);
    // Gives the window its original procedure back and unties the object.
    HWND UnsubclassWindow();
    // The object tied to a subclassed window, or null; never another's user data.
    static CWnd* FromHandleAttached(HWND hWnd);

    // The original processing of the message now being handled; its result.
    LRESULT Default();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const char* pszText) { ::SetWindowTextA(m_hWnd, pszText); }
    void GetWindowText(CString& rString) const;
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void MoveWindow(const RECT& rect, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     bRepaint);
    }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }
    // A message box owned by this window; the caption defaults to the program's name.
    int MessageBox(const char* pszText, const char* pszCaption = nullptr, UINT nType = MB_OK) const;

protected:
    virtual const MessageMap* GetMessageMap() const;
    virtual void PreSubclassWindow() {}
    // Handles one message: the message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's original procedure.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A WM_NOTIFY or WM_DRAWITEM this control sent, passed back by its
    // parent; true when handled. By default the map's reflected entries.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Looks the message up in the map (after offering a WM_NOTIFY or
    // WM_DRAWITEM to the control that sent it); true when a handler ran.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Keeps the message being handled for Default(), for the duration of one dispatch.
    class CurrentMessage {
    public:
        CurrentMessage(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
        ~CurrentMessage();
        CurrentMessage(const CurrentMessage&) = delete;
        CurrentMessage& operator=(const CurrentMessage&) = delete;

    private:
        CWnd& m_wnd;
        MSG m_saved;
    };

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindEntry(UINT message, UINT nId, UINT nCode, bool bReflected) const;

    WNDPROC m_pfnSuper = nullptr;
    MSG m_msgCurrent{};
};

#endif  // VANTREL_FRAMEWORK_WND_H
