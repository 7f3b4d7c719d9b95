#include "tools/ToolWindow.h"

#include "tools/RemoteBuffer.h"

#include <commctrl.h>

#include <cstddef>

namespace tools {

namespace {
constexpr int kDeviceListId = 1002;  // IDC_DEVICE_LIST of dialog 102

BOOL CALLBACK TakeToolWindow(HWND hWnd, LPARAM lParam) {
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    HWND hList = ::GetDlgItem(hWnd, kDeviceListId);
    char szListClass[32] = {};
    if (hList)
        ::GetClassNameA(hList, szListClass, sizeof szListClass);
    if (::IsWindowVisible(hWnd) && lstrcmpA(szClass, "#32770") == 0 &&
        lstrcmpiA(szListClass, WC_LISTVIEWA) == 0) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Sends a message whose lParam is a RECT that must live in the control's
// process: rect goes in as the request and comes back as the answer.
bool SendForRect(HWND hControl, UINT nMessage, WPARAM wParam, RECT& rect) {
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hControl, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                    FALSE, dwProcessId);
    if (hProcess == nullptr)
        return false;
    bool bOk = false;
    {
        RemoteBuffer remote(hProcess, sizeof rect);
        bOk = remote.Address() != nullptr &&
              ::WriteProcessMemory(hProcess, remote.Address(), &rect, sizeof rect, nullptr) &&
              ::SendMessageA(hControl, nMessage, wParam,
                             reinterpret_cast<LPARAM>(remote.Address())) &&
              ::ReadProcessMemory(hProcess, remote.Address(), &rect, sizeof rect, nullptr);
    }
    ::CloseHandle(hProcess);
    return bOk;
}

}  // namespace

HWND FindToolWindow() {
    HWND hTool = nullptr;
    ::EnumWindows(&TakeToolWindow, reinterpret_cast<LPARAM>(&hTool));
    return hTool;
}

bool ReadDeviceRows(HWND hTool, std::vector<std::vector<std::string>>& rows) {
    rows.clear();
    HWND hList = ::GetDlgItem(hTool, kDeviceListId);
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    const int nColumns = static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0));
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hList, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                    FALSE, dwProcessId);
    if (hProcess == nullptr)
        return false;

    constexpr int kTextSize = 512;
    bool bOk = true;
    {
        RemoteBuffer remote(hProcess, sizeof(LVITEMA) + kTextSize);
        char* pRemoteItem = remote.Address();
        char* pRemoteText = pRemoteItem + sizeof(LVITEMA);
        const int nRows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
        for (int nRow = 0; bOk && pRemoteItem && nRow < nRows; ++nRow) {
            std::vector<std::string> row;
            for (int nColumn = 0; bOk && nColumn < nColumns; ++nColumn) {
                LVITEMA item{};
                item.iSubItem = nColumn;
                item.pszText = pRemoteText;
                item.cchTextMax = kTextSize;
                char szText[kTextSize] = {};
                bOk = ::WriteProcessMemory(hProcess, pRemoteItem, &item, sizeof item, nullptr);
                if (bOk) {
                    ::SendMessageA(hList, LVM_GETITEMTEXTA, nRow,
                                   reinterpret_cast<LPARAM>(pRemoteItem));
                    bOk =
                        ::ReadProcessMemory(hProcess, pRemoteText, szText, sizeof szText, nullptr);
                }
                szText[kTextSize - 1] = '\0';
                row.emplace_back(szText);
            }
            rows.push_back(row);
        }
        bOk = bOk && pRemoteItem != nullptr;
    }
    ::CloseHandle(hProcess);
    return bOk;
}

bool ReadRowRect(HWND hTool, int nRow, RECT& rect) {
    rect = RECT{LVIR_BOUNDS, 0, 0, 0};
    return SendForRect(::GetDlgItem(hTool, kDeviceListId), LVM_GETITEMRECT, nRow, rect);
}

bool ReadHeaderItemRect(HWND hTool, int nColumn, RECT& rect) {
    HWND hList = ::GetDlgItem(hTool, kDeviceListId);
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    rect = RECT{};
    return SendForRect(hHeader, HDM_GETITEMRECT, nColumn, rect);
}

}  // namespace tools
