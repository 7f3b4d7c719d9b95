// Watches the running tool's device list from outside, as a user would see
// it: waits for the main window and its first scan to settle, presses "Scan",
// and reports when the list was emptied and when it held the expected number
// of rows. Times are wall-clock seconds since 1970, comparable with packet
// timestamps of a capture. Changes nothing in the tool but what "Scan" does;
// with --close it ends the tool through its OK command afterwards.
//
// --click-at ROWS: once the list holds ROWS rows, clicks the header's second
// column with the mouse (real input, through the tool's input queue) and
// reports when the tool acted on it: that column's header item became the
// sort column (owner-drawn), read through memory in the tool's process.
// --markers: for a count of wineserver requests; sends the tool's dialog a
// WM_NULL with wParam 0x5CA11 before "Scan" and 0x5CA12 once the list is
// full, prints the dialog's thread id, polls every 50 ms instead of 1 ms, and
// leaves the tool running until every copy's answers are in.
// --sort COLUMN: before "Scan", clicks that column's heading (ascending) and
// waits until the tool sorts by it; column 0 is the start-up sort already.
// --dump: once the list has settled, prints every row ("row" and the seven
// texts, separated by tabs), top to bottom.
// --click-full: after that, clicks the heading of a column not sorted by
// before (the second, or the third when the second is the sort column) and
// reports when the tool acted on it, as --click-at does.
// --poll-ms MS: reads the row count every MS ms instead of every 1 ms, so
// that a long scan is watched without loading the tool's thread.
//
// Usage: list_watch STARTUP_ROWS EXPECTED_ROWS TIMEOUT_SECONDS [--close]
//                   [--click-at ROWS] [--markers] [--sort COLUMN] [--dump]
//                   [--click-full] [--poll-ms MS]
// STARTUP_ROWS: the rows the start-up scan leaves (0 when no device answers).
#include "res/Resource.h"
#include "tools/RemoteBuffer.h"
#include "tools/ToolWindow.h"
#include "zova/zova.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const ULONGLONG ticks = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return double(ticks - 116444736000000000ULL) / 1e7;
}

// The tool's main dialog: a dialog window with the device list and "Scan".
BOOL CALLBACK FindMainWindow(HWND hWnd, LPARAM lParam) {
    char className[16] = {};
    GetClassNameA(hWnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && GetDlgItem(hWnd, IDC_DEVICE_LIST) &&
        GetDlgItem(hWnd, IDC_SCAN)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

int RowCount(HWND hList) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(hList, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count))
        return -1;
    return static_cast<int>(count);
}

// A row count unchanged this long short of the rows expected: answers were
// lost, and waiting on would only run to the deadline.
constexpr double kStalledSeconds = 30;

// Waits until the count is `expected` and has not changed for `quietMs`;
// false at the deadline or once the count has stalled elsewhere.
bool WaitForSettled(HWND hList, int expected, int quietMs, double deadline) {
    int last = -2;
    double since = Now();
    while (Now() < deadline) {
        const int count = RowCount(hList);
        if (count != last) {
            last = count;
            since = Now();
        } else if (count == expected && (Now() - since) * 1000 >= quietMs) {
            return true;
        } else if (Now() - since >= kStalledSeconds) {
            return false;
        }
        Sleep(5);
    }
    return false;
}

// Header item nItem's format flags, through memory in the tool's process; -1 on failure.
int HeaderFormat(HANDLE hProcess, const tools::RemoteBuffer& remote, HWND hHeader, int nItem) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!WriteProcessMemory(hProcess, remote.Address(), &item, sizeof item, nullptr) ||
        !SendMessageTimeoutA(hHeader, HDM_GETITEMA, nItem,
                             reinterpret_cast<LPARAM>(remote.Address()), SMTO_NORMAL, 30000,
                             nullptr) ||
        !ReadProcessMemory(hProcess, remote.Address(), &item, sizeof item, nullptr))
        return -1;
    return item.fmt;
}

// A left click in the middle of header item nItem, as the mouse gives it.
bool ClickHeaderItem(HANDLE hProcess, const tools::RemoteBuffer& remote, HWND hHeader, int nItem) {
    RECT rect{};
    if (!SendMessageTimeoutA(hHeader, HDM_GETITEMRECT, nItem,
                             reinterpret_cast<LPARAM>(remote.Address()), SMTO_NORMAL, 30000,
                             nullptr) ||
        !ReadProcessMemory(hProcess, remote.Address(), &rect, sizeof rect, nullptr))
        return false;
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(hHeader, &point);
    INPUT click[2] = {};
    for (INPUT& input : click) {
        input.type = INPUT_MOUSE;
        input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    return SendInput(2, click, sizeof(INPUT)) == 2;
}

// Clicks header item nItem and waits until the tool has made it the sort
// column (owner-drawn). The click's time and the time it was acted on, 0
// when it was not by the deadline.
struct HeaderClick {
    double clicked = 0;
    double acted = 0;
};
HeaderClick ClickHeaderUntilSorted(HANDLE hProcess, const tools::RemoteBuffer& remote, HWND hHeader,
                                   int nItem, double deadline) {
    HeaderClick click;
    click.clicked = Now();
    if (!ClickHeaderItem(hProcess, remote, hHeader, nItem)) {
        std::printf("error click\n");
        return click;
    }
    while (Now() < deadline) {
        const int format = HeaderFormat(hProcess, remote, hHeader, nItem);
        if (format != -1 && (format & HDF_OWNERDRAW)) {
            click.acted = Now();
            break;
        }
        Sleep(1);
    }
    return click;
}

// Once the list has settled: the answers to the last copy of the request,
// spread over the simulator's answer window (1 s by default), have reached
// the tool by then.
constexpr DWORD kAnswersOfEveryCopyMs = zova::kLastCopyDelayMs + 2000;

constexpr WPARAM kMarkerStart = 0x5CA11;
constexpr WPARAM kMarkerEnd = 0x5CA12;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: list_watch STARTUP_ROWS EXPECTED_ROWS TIMEOUT_SECONDS [--close]\n");
        return 2;
    }
    const int startupRows = std::atoi(argv[1]);
    const int expected = std::atoi(argv[2]);
    const double deadline = Now() + std::atof(argv[3]);
    bool close = false;
    bool markers = false;
    bool dump = false;
    bool clickFull = false;
    int clickAt = -1;
    int sortColumn = 0;
    DWORD pollMs = 1;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--close") == 0)
            close = true;
        else if (std::strcmp(argv[i], "--markers") == 0)
            markers = true;
        else if (std::strcmp(argv[i], "--dump") == 0)
            dump = true;
        else if (std::strcmp(argv[i], "--click-full") == 0)
            clickFull = true;
        else if (std::strcmp(argv[i], "--click-at") == 0 && i + 1 < argc)
            clickAt = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--sort") == 0 && i + 1 < argc)
            sortColumn = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--poll-ms") == 0 && i + 1 < argc)
            pollMs = static_cast<DWORD>(std::atoi(argv[++i]));
    }
    if (markers)
        pollMs = 50;

    HWND hDlg = nullptr;
    while (!hDlg && Now() < deadline) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&hDlg));
        if (!hDlg)
            Sleep(5);
    }
    if (!hDlg) {
        std::printf("error no-window\n");
        return 1;
    }
    std::printf("window %.6f\n", Now());
    HWND hList = GetDlgItem(hDlg, IDC_DEVICE_LIST);
    HWND hScan = GetDlgItem(hDlg, IDC_SCAN);
    HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(hDlg, &processId);
    std::printf("ui_thread %04lx\n", threadId);
    HANDLE hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    tools::RemoteBuffer remote(hProcess, sizeof(HDITEMA) + sizeof(RECT));

    // The start-up scan first, with its repeats' duplicates.
    const bool settled = WaitForSettled(hList, startupRows, 1000, deadline);
    std::printf("startup_rows %d %s\n", RowCount(hList), settled ? "settled" : "timeout");
    if (sortColumn != 0) {
        const HeaderClick sorted =
            ClickHeaderUntilSorted(hProcess, remote, hHeader, sortColumn, deadline);
        std::printf("sorted_by %d %s\n", sortColumn, sorted.acted ? "ok" : "timeout");
    }

    if (markers)
        SendMessageTimeoutA(hDlg, WM_NULL, kMarkerStart, 0, SMTO_NORMAL, 30000, nullptr);
    // "Scan" as its click reaches the dialog; returns once the list is empty
    // and the scan request has gone out.
    const double click = Now();
    SendMessageTimeoutA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED),
                        reinterpret_cast<LPARAM>(hScan), SMTO_NORMAL, 30000, nullptr);
    std::printf("scan %.6f\n", click);
    std::printf("scan_returned %.6f rows %d\n", Now(), RowCount(hList));

    double firstRow = 0;
    double full = 0;
    double headerClick = 0;
    double headerSorted = 0;
    int rowsAtClick = 0;
    int rowsAtSorted = 0;
    int count = 0;
    int lastCount = 0;
    double lastChange = Now();
    while (Now() < deadline) {
        count = RowCount(hList);
        if (count > 0 && !firstRow)
            firstRow = Now();
        if (count != lastCount) {
            lastCount = count;
            lastChange = Now();
        } else if (count > 0 && Now() - lastChange >= kStalledSeconds) {
            break;
        }
        if (clickAt >= 0 && !headerClick && count >= clickAt) {
            rowsAtClick = count;
            headerClick = Now();
            if (!ClickHeaderItem(hProcess, remote, hHeader, 1))
                std::printf("error click\n");
        }
        if (headerClick && !headerSorted) {
            const int format = HeaderFormat(hProcess, remote, hHeader, 1);
            if (format != -1 && (format & HDF_OWNERDRAW)) {
                headerSorted = Now();
                rowsAtSorted = RowCount(hList);
            }
        }
        if (count >= expected && !full)
            full = Now();
        if (full && (clickAt < 0 || headerSorted))
            break;
        Sleep(headerClick && !headerSorted ? 1 : pollMs);
    }
    if (markers)
        SendMessageTimeoutA(hDlg, WM_NULL, kMarkerEnd, 0, SMTO_NORMAL, 30000, nullptr);
    std::printf("first_row %.6f\n", firstRow);
    std::printf("full %.6f rows %d\n", full, count);
    if (clickAt >= 0)
        std::printf("header_click %.6f rows %d sorted %.6f rows %d\n", headerClick, rowsAtClick,
                    headerSorted, rowsAtSorted);
    // Duplicates from the scan's repeats may still be queued: let them pass,
    // then count again, so that a row lost or doubled would show.
    WaitForSettled(hList, expected, 1000, deadline);
    if (markers)
        Sleep(kAnswersOfEveryCopyMs);
    std::printf("final_rows %d\n", RowCount(hList));
    if (dump) {
        std::vector<std::vector<std::string>> rows;
        if (!tools::ReadDeviceRows(hDlg, rows))
            std::printf("error dump\n");
        for (const std::vector<std::string>& row : rows) {
            std::string line = "row";
            for (const std::string& text : row)
                line += "\t" + text;
            std::printf("%s\n", line.c_str());
        }
    }
    if (clickFull) {
        const int rows = RowCount(hList);
        const HeaderClick click =
            ClickHeaderUntilSorted(hProcess, remote, hHeader, sortColumn == 1 ? 2 : 1, deadline);
        std::printf("full_click %.6f rows %d sorted %.6f\n", click.clicked, rows, click.acted);
    }
    std::fflush(stdout);

    if (close)
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return full ? 0 : 1;
}
