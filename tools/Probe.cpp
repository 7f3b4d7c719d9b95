// vantrel-probe: looks at the running tool from outside, for scripts.
//
//   vantrel-probe rows                print the device list, one row a line,
//                                     columns separated by tabs
//   vantrel-probe wait-rows N SECONDS wait until the list shows N rows
//                                     (exit 1 when it does not in time)
//   vantrel-probe rect                print the window's client area on the
//                                     screen as "WIDTHxHEIGHT+X+Y"
//   vantrel-probe close               close the window as its close box does
//
// Every command waits up to ten seconds for the window to appear.
#include "tools/ToolWindow.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
HWND WaitForToolWindow(DWORD dwMilliseconds) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (HWND hTool = tools::FindToolWindow())
            return hTool;
        if (::GetTickCount() - dwStart >= dwMilliseconds)
            return nullptr;
        ::Sleep(100);
    }
}

int PrintRows(HWND hTool) {
    std::vector<std::vector<std::string>> rows;
    if (!tools::ReadDeviceRows(hTool, rows)) {
        std::fprintf(stderr, "vantrel-probe: cannot read the tool's list\n");
        return 1;
    }
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            std::printf("%s%s", i ? "\t" : "", row[i].c_str());
        std::printf("\n");
    }
    return 0;
}

int WaitForRows(HWND hTool, int nRows, int nSeconds) {
    const DWORD dwStart = ::GetTickCount();
    std::vector<std::vector<std::string>> rows;
    for (;;) {
        if (tools::ReadDeviceRows(hTool, rows) && static_cast<int>(rows.size()) >= nRows)
            return 0;
        if (::GetTickCount() - dwStart >= static_cast<DWORD>(nSeconds) * 1000)
            break;
        ::Sleep(200);
    }
    std::fprintf(stderr, "vantrel-probe: %d rows after %d s, expected %d\n",
                 static_cast<int>(rows.size()), nSeconds, nRows);
    return 1;
}

int Usage() {
    std::fprintf(stderr, "usage: vantrel-probe rows | wait-rows N SECONDS | rect | close\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const char* pszCommand = argv[1];
    HWND hTool = WaitForToolWindow(10000);
    if (hTool == nullptr) {
        std::fprintf(stderr, "vantrel-probe: the tool's window is not there\n");
        return 1;
    }
    if (std::strcmp(pszCommand, "rows") == 0)
        return PrintRows(hTool);
    if (std::strcmp(pszCommand, "wait-rows") == 0 && argc == 4)
        return WaitForRows(hTool, std::atoi(argv[2]), std::atoi(argv[3]));
    if (std::strcmp(pszCommand, "rect") == 0) {
        // The client area: without a window manager nobody draws the frame.
        RECT rect{};
        ::GetClientRect(hTool, &rect);
        POINT origin{0, 0};
        ::ClientToScreen(hTool, &origin);
        std::printf("%ldx%ld+%ld+%ld\n", rect.right, rect.bottom, origin.x, origin.y);
        return 0;
    }
    if (std::strcmp(pszCommand, "close") == 0) {
        ::PostMessageA(hTool, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    return Usage();
}
