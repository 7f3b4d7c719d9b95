#include "tools/ToolGeometry.h"

#include "tools/RemoteBuffer.h"

#include <commctrl.h>

namespace tools {

namespace {
constexpr int kDeviceListId = 1002;  // IDC_DEVICE_LIST of dialog 102

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
