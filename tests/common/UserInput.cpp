#include "tests/common/UserInput.h"

#include <vector>

namespace harness {
namespace {

LPARAM PointParam(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

// The real pointer goes there too, so that anything that asks where the
// mouse is (a control tracking its capture) finds it on the spot.
void MovePointer(HWND hWnd, POINT point) {
    POINT screen = point;
    ::ClientToScreen(hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageA(hWnd, WM_MOUSEMOVE, 0, PointParam(point));
}

void PostKey(HWND hTarget, UINT nDown, UINT nUp, UINT nVirtualKey, LPARAM lFlags) {
    const UINT nScan = ::MapVirtualKeyA(nVirtualKey, MAPVK_VK_TO_VSC);
    const LPARAM lDown = 1 | (static_cast<LPARAM>(nScan) << 16) | lFlags;
    ::PostMessageA(hTarget, nDown, nVirtualKey, lDown);
    ::PostMessageA(hTarget, nUp, nVirtualKey, lDown | (1L << 30) | (1L << 31));
}

}  // namespace

void ClickAt(HWND hWnd, POINT point) {
    MovePointer(hWnd, point);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(point));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, PointParam(point));
}

void Click(HWND hControl) {
    RECT rect{};
    ::GetClientRect(hControl, &rect);
    ClickAt(hControl, POINT{rect.right / 2, rect.bottom / 2});
}

void ClickItem(HWND hDlg, int nId) {
    Click(::GetDlgItem(hDlg, nId));
}

void DoubleClickAt(HWND hWnd, POINT point) {
    MovePointer(hWnd, point);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(point));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, PointParam(point));
    ::PostMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(point));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, PointParam(point));
}

HWND FocusOf(HWND hTop) {
    GUITHREADINFO info{sizeof info};
    const DWORD dwThread = ::GetWindowThreadProcessId(hTop, nullptr);
    if (::GetGUIThreadInfo(dwThread, &info) && info.hwndFocus != nullptr)
        return info.hwndFocus;
    return hTop;
}

void PressKey(HWND hTop, UINT nVirtualKey) {
    PostKey(FocusOf(hTop), WM_KEYDOWN, WM_KEYUP, nVirtualKey, 0);
}

void PressAltF4(HWND hTop) {
    // Bit 29: the Alt key is down, as for every key struck while it is held.
    PostKey(FocusOf(hTop), WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, 1L << 29);
}

void TypeInto(HWND hEdit, const std::string& text) {
    ::PostMessageA(hEdit, EM_SETSEL, 0, -1);
    for (char c : text)
        ::PostMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void TypeIntoAddressField(HWND hAddress, int nField, int nValue) {
    std::vector<HWND> fields;
    for (HWND hChild = ::GetWindow(hAddress, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        fields.push_back(hChild);
    // The control may keep its fields in any z-order: take them left to right.
    for (std::size_t i = 0; i < fields.size(); ++i) {
        for (std::size_t j = i + 1; j < fields.size(); ++j) {
            RECT a{}, b{};
            ::GetWindowRect(fields[i], &a);
            ::GetWindowRect(fields[j], &b);
            if (b.left < a.left)
                std::swap(fields[i], fields[j]);
        }
    }
    if (nField < static_cast<int>(fields.size()))
        TypeInto(fields[nField], std::to_string(nValue));
}

}  // namespace harness
