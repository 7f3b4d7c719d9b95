// The main dialog's title, layout, minimum size and About entry, on the real
// template 102 in-process (library double; the real zova.dll beside the test
// program passes the version check).
#include "res/Resource.h"
#include "tests/common/MainDialogDriver.h"
#include "tests/common/NestedDialog.h"
#include "tests/common/WindowText.h"

#include <string>
#include <vector>

namespace {

using harness::ItemText;
using harness::MainDialogTest;
using harness::ScriptedMainDlg;
using harness::WindowText;

struct Control {
    int id;
    bool movesRight;  // follows the right edge
    bool stretches;   // both edges follow (the list)
};

const Control kControls[] = {
    {IDC_DEVICE_LIST, false, true}, {IDC_ADVANCED, false, false}, {IDC_WINK, true, false},
    {IDC_FILE, true, false},        {IDC_SCAN, true, false},      {IDOK, true, false},
};

RECT ControlRect(HWND hDlg, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(hDlg, id), &r);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<RECT> Layout(HWND hDlg) {
    std::vector<RECT> rects;
    for (const Control& c : kControls) {
        rects.push_back(ControlRect(hDlg, c.id));
    }
    return rects;
}

SIZE ClientSize(HWND hDlg) {
    RECT r{};
    ::GetClientRect(hDlg, &r);
    return {r.right, r.bottom};
}

void SetWindowSize(HWND hDlg, int cx, int cy) {
    ::SetWindowPos(hDlg, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void ExpectLayout(HWND hDlg, const std::vector<RECT>& expected, const char* when) {
    const std::vector<RECT> now = Layout(hDlg);
    for (std::size_t i = 0; i < now.size(); ++i) {
        EXPECT_EQ(Describe(now[i]), Describe(expected[i]))
            << "control " << kControls[i].id << " " << when;
    }
}

TEST_F(MainDialogTest, ResizingMovesAndStretchesEachControlByTheClientChange) {
    ScriptedMainDlg dialog;
    dialog.AddStep([&] {
        HWND hDlg = dialog.m_hWnd;
        EXPECT_EQ(WindowText(hDlg), "Vantrel Config v1.4.0");
        const std::vector<RECT> first = Layout(hDlg);
        const SIZE firstClient = ClientSize(hDlg);
        RECT window{};
        ::GetWindowRect(hDlg, &window);
        const int cx = window.right - window.left, cy = window.bottom - window.top;

        const int steps[][2] = {{120, 80}, {-150, -60}, {37, 5}, {300, -90}, {0, 0}};
        for (const auto& step : steps) {
            SetWindowSize(hDlg, cx + step[0], cy + step[1]);
            const SIZE client = ClientSize(hDlg);
            const int dx = client.cx - firstClient.cx, dy = client.cy - firstClient.cy;
            const std::vector<RECT> now = Layout(hDlg);
            for (std::size_t i = 0; i < now.size(); ++i) {
                const Control& c = kControls[i];
                const RECT& f = first[i];
                RECT expected = f;
                expected.top += c.stretches ? 0 : dy;
                expected.bottom += dy;
                expected.left += c.movesRight ? dx : 0;
                expected.right += c.movesRight || c.stretches ? dx : 0;
                EXPECT_EQ(Describe(now[i]), Describe(expected))
                    << "control " << c.id << " with the client grown by " << dx << ", " << dy;
            }
        }
        // Back at the first size after shrinking and growing: the first layout.
        EXPECT_EQ(ClientSize(hDlg).cx, firstClient.cx);
        ExpectLayout(hDlg, first, "after shrinking and growing back");

        ::ShowWindow(hDlg, SW_MINIMIZE);
        EXPECT_TRUE(::IsIconic(hDlg));
        ::ShowWindow(hDlg, SW_RESTORE);
        EXPECT_FALSE(::IsIconic(hDlg));
        ExpectLayout(hDlg, first, "after minimise and restore");
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(MainDialogTest, DraggingBelowTheMinimumStopsTheHeldEdgesAt194By130) {
    struct Case {
        UINT edge;
        RECT proposed;  // the window 100,100-700,400 with the held edges dragged inwards
        RECT expected;
    };
    const Case cases[] = {
        {WMSZ_LEFT, {650, 100, 700, 400}, {506, 100, 700, 400}},
        {WMSZ_RIGHT, {100, 100, 150, 400}, {100, 100, 294, 400}},
        {WMSZ_TOP, {100, 350, 700, 400}, {100, 270, 700, 400}},
        {WMSZ_BOTTOM, {100, 100, 700, 140}, {100, 100, 700, 230}},
        {WMSZ_TOPLEFT, {650, 350, 700, 400}, {506, 270, 700, 400}},
        {WMSZ_TOPRIGHT, {100, 350, 150, 400}, {100, 270, 294, 400}},
        {WMSZ_BOTTOMLEFT, {650, 100, 700, 140}, {506, 100, 700, 230}},
        {WMSZ_BOTTOMRIGHT, {100, 100, 150, 140}, {100, 100, 294, 230}},
        {WMSZ_BOTTOMRIGHT, {100, 100, 294, 230}, {100, 100, 294, 230}},
    };
    ScriptedMainDlg dialog;
    dialog.AddStep([&] {
        for (const Case& c : cases) {
            RECT r = c.proposed;
            dialog.SendMessage(WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&r));
            EXPECT_EQ(Describe(r), Describe(c.expected))
                << "edge " << c.edge << " proposed " << Describe(c.proposed);
        }
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(MainDialogTest, AboutEntryCommandsOpenTheAboutBoxWithItsLines) {
    ScriptedMainDlg dialog;
    std::vector<std::string> seen;  // per command: what opened, or ""
    std::vector<UINT> commands;
    for (UINT id = 0x000F; id <= 0x0020; ++id) {
        commands.push_back(id);
    }
    dialog.AddStep([&] {
        for (UINT id : commands) {
            std::string opened;
            harness::NestedDialog about("About ", [&](HWND hBox) {
                opened = WindowText(hBox) + " | " + ItemText(hBox, IDC_VERSION_TEXT) + " | " +
                         ItemText(hBox, IDC_LEGAL_TEXT);
                ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            });
            dialog.SendMessage(WM_SYSCOMMAND, id, 0);
            seen.push_back(opened);
        }
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(seen.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const bool bAboutEntry = (commands[i] & 0xFFF0) == IDM_ABOUTBOX;
        EXPECT_EQ(seen[i], bAboutEntry ? "About Vantrel Config | Version: 1.4.0.0 | "
                                         "Copyright (C) 2026 Ulvenor Ltd"
                                       : "")
            << "system command " << commands[i];
    }
}

}  // namespace
