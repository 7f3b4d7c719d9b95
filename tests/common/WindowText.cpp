#include "tests/common/WindowText.h"

#include <commctrl.h>

namespace harness {

std::string WindowText(HWND hWnd) {
    // Asked of the window itself: for another process's window GetWindowText
    // only returns the text the window system keeps, which an edit never sets.
    char text[512] = {};
    DWORD_PTR nResult = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 10000, &nResult);
    text[sizeof text - 1] = '\0';
    return text;
}

std::string ItemText(HWND hDlg, int nId) {
    return WindowText(::GetDlgItem(hDlg, nId));
}

std::string CellText(HWND hList, int nRow, int nColumn) {
    char text[260] = {};
    LVITEMA item{};
    item.iSubItem = nColumn;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string ClassOf(HWND hWnd) {
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::string MessageOf(HWND hBox) {
    std::string message;
    for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const std::string text = WindowText(hChild);
        if (ClassOf(hChild) == "Static" && !text.empty())
            message += message.empty() ? text : "\n" + text;
    }
    return message;
}

}  // namespace harness
