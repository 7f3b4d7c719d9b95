// Start-up and shut-down of the main dialog, on the real template 102.
#include "res/Resource.h"
#include "tests/common/MainDialogDriver.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using harness::MainDialogTest;
using harness::ScriptedMainDlg;

TEST_F(MainDialogTest, StartUpStartsTheLibraryAndScansIntoAnEmptyListOfSevenColumns) {
    ScriptedMainDlg dialog;
    std::vector<std::string> callsAtStart;
    std::vector<std::pair<std::string, int>> columns;
    DWORD dwExtendedStyle = 0;
    int nRowsAtStart = -1;
    std::string strLastMenuItem;
    UINT nLastMenuId = 0;
    UINT nSeparatorType = 0;
    bool bIconsSet = false;
    dialog.AddStep([&] {
        callsAtStart = LibraryCalls();
        HWND hList = dialog.GetDlgItem(IDC_DEVICE_LIST);
        nRowsAtStart = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
        dwExtendedStyle =
            static_cast<DWORD>(::SendMessageA(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        for (int i = 0;; ++i) {
            char szHeading[64] = {};
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = szHeading;
            column.cchTextMax = sizeof szHeading;
            if (!::SendMessageA(hList, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)))
                break;
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT) << szHeading;
            columns.emplace_back(szHeading, column.cx);
        }
        HMENU hMenu = ::GetSystemMenu(dialog.m_hWnd, FALSE);
        const int nItems = ::GetMenuItemCount(hMenu);
        char szItem[64] = {};
        ::GetMenuStringA(hMenu, nItems - 1, szItem, sizeof szItem, MF_BYPOSITION);
        strLastMenuItem = szItem;
        nLastMenuId = ::GetMenuItemID(hMenu, nItems - 1);
        MENUITEMINFOA info{sizeof info, MIIM_FTYPE};
        ::GetMenuItemInfoA(hMenu, nItems - 2, TRUE, &info);
        nSeparatorType = info.fType;
        bIconsSet = dialog.SendMessage(WM_GETICON, ICON_BIG) != 0 &&
                    dialog.SendMessage(WM_GETICON, ICON_SMALL) != 0;
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(callsAtStart,
              (std::vector<std::string>{"RegisterCallBack", "Start", "SendModuleScan"}));
    EXPECT_EQ(nRowsAtStart, 0);
    EXPECT_EQ(dwExtendedStyle, static_cast<DWORD>(LVS_EX_FULLROWSELECT));
    EXPECT_EQ(columns, (std::vector<std::pair<std::string, int>>{{"IP", 90},
                                                                 {"SN", 90},
                                                                 {"GW", 90},
                                                                 {"DHCP", 50},
                                                                 {"Version", 50},
                                                                 {"Type", 114},
                                                                 {"MAC", 115}}));
    EXPECT_EQ(strLastMenuItem, "&About...");
    EXPECT_EQ(nLastMenuId, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_TRUE(nSeparatorType & MFT_SEPARATOR);
    EXPECT_TRUE(bIconsSet);
}

TEST_F(MainDialogTest, CallbackAfterTheDialogWentPostsNothing) {
    {
        ScriptedMainDlg dialog;
        dialog.AddStep([&] { dialog.EndDialog(IDOK); });
        dialog.DoModal();
    }
    EXPECT_EQ(g_pMainDlg, nullptr);
    // The library has no stop call, so its threads may still call back.
    ZovaDouble_Notify(ZOVA_NOTIFY_RESPONSE, 1);
    ZovaDouble_Notify(ZOVA_NOTIFY_RESPONSE, 0);
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_ZOVA_NOTIFY, WM_ZOVA_NOTIFY, PM_REMOVE));
}

TEST_F(MainDialogTest, EscDoesNothingWhileExitCloseAndAltF4EndTheRunWithOk) {
    struct Case {
        const char* pszName;
        std::function<void(ScriptedMainDlg&)> act;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"Esc",
         [](ScriptedMainDlg& d) {
             ::PostMessageA(d.GetDlgItem(IDC_DEVICE_LIST), WM_KEYDOWN, VK_ESCAPE, 0);
             d.PostMessage(WM_COMMAND, IDCANCEL);
         },
         4242},
        {"Exit", [](ScriptedMainDlg& d) { ::PostMessageA(d.GetDlgItem(IDOK), BM_CLICK, 0, 0); },
         IDOK},
        {"close box and system-menu Close",
         [](ScriptedMainDlg& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE); }, IDOK},
        {"Alt+F4",
         [](ScriptedMainDlg& d) {
             ::PostMessageA(d.GetDlgItem(IDC_DEVICE_LIST), WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN << 16);
         },
         IDOK},
    };
    for (const Case& c : cases) {
        ScriptedMainDlg dialog;
        dialog.AddStep([&] { c.act(dialog); });
        dialog.AddStep([&] { dialog.PostMessage(WM_NULL); });  // lets keystrokes turn into commands
        dialog.AddStep([&] { dialog.EndDialog(4242); });       // reached only if still running
        EXPECT_EQ(dialog.DoModal(), c.expected) << c.pszName;
    }
}

TEST_F(MainDialogTest, MinimisedWindowPaintsTheIconAndOtherSystemCommandsKeepTheirDefault) {
    // The tool's own icon; icons loaded from a resource are shared, so the
    // dialog holds this very handle when it uses the same icon.
    const HICON hToolIcon =
        ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(hToolIcon, nullptr);
    ScriptedMainDlg dialog;
    BOOL bIconic = FALSE;
    bool bDragIcon = false;
    HICON hDragIcon = nullptr, hBigIcon = nullptr;
    dialog.AddStep([&] { dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE); });
    dialog.AddStep([&] {
        bIconic = dialog.IsIconic();
        dialog.Invalidate();
        ::UpdateWindow(dialog.m_hWnd);  // paints through the iconic branch
        hDragIcon = reinterpret_cast<HICON>(dialog.SendMessage(WM_QUERYDRAGICON));
        bDragIcon = hDragIcon != nullptr;
        hBigIcon = reinterpret_cast<HICON>(dialog.SendMessage(WM_GETICON, ICON_BIG));
        dialog.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX + 0x10);  // beside the About entry
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(bIconic);
    EXPECT_TRUE(bDragIcon);
    // Dragged and shown minimised as the tool's icon, not a default one.
    EXPECT_EQ(hDragIcon, hToolIcon);
    EXPECT_EQ(hBigIcon, hToolIcon);
}

}  // namespace
