// Watches the running tool's device list from outside, as a user would see
// it: waits for the main window and its first scan to settle, presses "Scan",
// and reports when the list was emptied and when it held the expected number
// of rows. Times are wall-clock seconds since 1970, comparable with packet
// timestamps of a capture. Changes nothing in the tool but what "Scan" does;
// with --close it ends the tool through its OK command afterwards.
//
// Usage: list_watch STARTUP_ROWS EXPECTED_ROWS TIMEOUT_SECONDS [--close]
// STARTUP_ROWS: the rows the start-up scan leaves (0 when no device answers).
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double Now()
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const ULONGLONG ticks = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return double(ticks - 116444736000000000ULL) / 1e7;
}

// The tool's main dialog: a dialog window with the device list and "Scan".
BOOL CALLBACK FindMainWindow(HWND hWnd, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(hWnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && GetDlgItem(hWnd, IDC_DEVICE_LIST) &&
        GetDlgItem(hWnd, IDC_SCAN)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

int RowCount(HWND hList)
{
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(hList, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count))
        return -1;
    return static_cast<int>(count);
}

// Waits until the count is `expected` and has not changed for `quietMs`.
bool WaitForSettled(HWND hList, int expected, int quietMs, double deadline)
{
    int last = -2;
    double since = Now();
    while (Now() < deadline) {
        const int count = RowCount(hList);
        if (count != last) {
            last = count;
            since = Now();
        } else if (count == expected && (Now() - since) * 1000 >= quietMs) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: list_watch STARTUP_ROWS EXPECTED_ROWS TIMEOUT_SECONDS [--close]\n");
        return 2;
    }
    const int startupRows = std::atoi(argv[1]);
    const int expected = std::atoi(argv[2]);
    const double deadline = Now() + std::atof(argv[3]);
    const bool close = argc > 4 && std::strcmp(argv[4], "--close") == 0;

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

    // The start-up scan first, with its repeats' duplicates.
    const bool settled = WaitForSettled(hList, startupRows, 1000, deadline);
    std::printf("startup_rows %d %s\n", RowCount(hList), settled ? "settled" : "timeout");

    // "Scan" as its click reaches the dialog; returns once the list is empty
    // and the scan request has gone out.
    const double click = Now();
    SendMessageTimeoutA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED),
                        reinterpret_cast<LPARAM>(hScan), SMTO_NORMAL, 30000, nullptr);
    std::printf("scan %.6f\n", click);
    std::printf("scan_returned %.6f rows %d\n", Now(), RowCount(hList));

    double firstRow = 0;
    double full = 0;
    int count = 0;
    while (Now() < deadline) {
        count = RowCount(hList);
        if (count > 0 && !firstRow)
            firstRow = Now();
        if (count >= expected) {
            full = Now();
            break;
        }
        Sleep(1);
    }
    std::printf("first_row %.6f\n", firstRow);
    std::printf("full %.6f rows %d\n", full, count);
    // Duplicates from the scan's repeats may still be queued: let them pass,
    // then count again, so that a row lost or doubled would show.
    WaitForSettled(hList, expected, 1000, deadline);
    std::printf("final_rows %d\n", RowCount(hList));
    std::fflush(stdout);

    if (close)
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return full ? 0 : 1;
}
