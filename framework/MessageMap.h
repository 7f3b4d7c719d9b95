// Message maps: a small typed table per class from a message (and, for
// WM_COMMAND and WM_NOTIFY, a control id and notification code) to an On…
// member. Each entry maker below unpacks one message for one handler shape,
// so a debugger steps from the window procedure through the table lookup
// straight into the handler.
//
//   const MessageMap* CMyDlg::GetMessageMap() const {
//       static const MessageMapEntry kEntries[] = {
//           msg::Command<&CMyDlg::OnScan>(IDC_SCAN),
//           msg::Paint<&CMyDlg::OnPaint>(),
//       };
//       static const MessageMap kMap(CDialog::GetMessageMap(), kEntries);
//       return &kMap;
//   }
//
// A class's own entries are searched before its base class's. New message
// shapes can be added as further makers in other files.
#ifndef VANTREL_FRAMEWORK_MESSAGEMAP_H
#define VANTREL_FRAMEWORK_MESSAGEMAP_H

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

class CWnd;

using MessageHandlerCall = LRESULT (*)(CWnd& wnd, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT nMessage;
    UINT nId;         // WM_COMMAND / WM_NOTIFY: the control id; reflected entries ignore it
    UINT nCode;       // WM_COMMAND / WM_NOTIFY: the notification code
    bool bReflected;  // handles what the parent passed back to this control, its sender
    MessageHandlerCall pfnCall;
};

struct MessageMap {
    MessageMap() = default;
    template <std::size_t N>
    MessageMap(const MessageMap* pBase, const MessageMapEntry (&entries)[N])
        : pBaseMap(pBase), pEntries(entries), nEntries(N) {}

    const MessageMap* pBaseMap = nullptr;
    const MessageMapEntry* pEntries = nullptr;
    std::size_t nEntries = 0;
};

namespace msg {
namespace detail {
template <class T>
struct MemberOf;
template <class F, class C>
struct MemberOf<F C::*> {
    using Class = C;
};

// The object a handler belongs to; entries are only ever called on it.
template <auto Handler>
typename MemberOf<decltype(Handler)>::Class& Self(CWnd& wnd) {
    return static_cast<typename MemberOf<decltype(Handler)>::Class&>(wnd);
}
}  // namespace detail

// Any message, unpacked by the handler: LRESULT OnX(WPARAM, LPARAM).
template <auto Handler>
MessageMapEntry Raw(UINT nMessage) {
    return {nMessage, 0, 0, false, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                return (detail::Self<Handler>(w).*Handler)(wp, lp);
            }};
}

// WM_COMMAND from control nId with code nCode: void OnX().
template <auto Handler>
MessageMapEntry Command(UINT nId, UINT nCode = BN_CLICKED) {
    return {WM_COMMAND, nId, nCode, false, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)();
                return 0;
            }};
}

// WM_NOTIFY from control nId with code nCode: void OnX(NMHDR*, LRESULT* pResult).
template <auto Handler>
MessageMapEntry Notify(UINT nId, UINT nCode) {
    return {WM_NOTIFY, nId, nCode, false, [](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
                LRESULT result = 0;
                (detail::Self<Handler>(w).*Handler)(reinterpret_cast<NMHDR*>(lp), &result);
                return result;
            }};
}

// WM_NOTIFY with code nCode that this control sent and its parent passed
// back: void OnX(NMHDR*, LRESULT* pResult).
template <auto Handler>
MessageMapEntry NotifyReflect(UINT nCode) {
    return {WM_NOTIFY, 0, nCode, true, [](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
                LRESULT result = 0;
                (detail::Self<Handler>(w).*Handler)(reinterpret_cast<NMHDR*>(lp), &result);
                return result;
            }};
}

// WM_SYSCOMMAND: void OnSysCommand(UINT nID, LPARAM lParam).
template <auto Handler>
MessageMapEntry SysCommand() {
    return {WM_SYSCOMMAND, 0, 0, false, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)(static_cast<UINT>(wp), lp);
                return 0;
            }};
}

// WM_PAINT: void OnPaint().
template <auto Handler>
MessageMapEntry Paint() {
    return {WM_PAINT, 0, 0, false, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)();
                return 0;
            }};
}

// WM_QUERYDRAGICON: HCURSOR OnQueryDragIcon().
template <auto Handler>
MessageMapEntry QueryDragIcon() {
    return {WM_QUERYDRAGICON, 0, 0, false, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                return reinterpret_cast<LRESULT>((detail::Self<Handler>(w).*Handler)());
            }};
}

// WM_SIZE: void OnSize(UINT nType, int cx, int cy).
template <auto Handler>
MessageMapEntry Size() {
    return {WM_SIZE, 0, 0, false, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)(static_cast<UINT>(wp),
                                                    static_cast<short>(LOWORD(lp)),
                                                    static_cast<short>(HIWORD(lp)));
                return 0;
            }};
}

// WM_SIZING: void OnSizing(UINT fwSide, LPRECT pRect).
template <auto Handler>
MessageMapEntry Sizing() {
    return {WM_SIZING, 0, 0, false, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)(static_cast<UINT>(wp),
                                                    reinterpret_cast<LPRECT>(lp));
                return TRUE;
            }};
}

// WM_LBUTTONDBLCLK: void OnLButtonDblClk(UINT nFlags, POINT point).
template <auto Handler>
MessageMapEntry LButtonDblClk() {
    return {WM_LBUTTONDBLCLK, 0, 0, false, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                (detail::Self<Handler>(w).*Handler)(static_cast<UINT>(wp), point);
                return 0;
            }};
}

// WM_CREATE: int OnCreate(LPCREATESTRUCTA); -1 refuses the window.
template <auto Handler>
MessageMapEntry Create() {
    return {WM_CREATE, 0, 0, false, [](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
                return (detail::Self<Handler>(w).*Handler)(reinterpret_cast<LPCREATESTRUCTA>(lp));
            }};
}

// WM_DESTROY: void OnDestroy(); the child windows still exist.
template <auto Handler>
MessageMapEntry Destroy() {
    return {WM_DESTROY, 0, 0, false, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)();
                return 0;
            }};
}
}  // namespace msg

#endif  // VANTREL_FRAMEWORK_MESSAGEMAP_H
