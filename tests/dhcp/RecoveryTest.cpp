// The recovery story end to end under Wine, inside a network namespace: the
// real main dialog with the real zova.dll, and the simulator playing a device
// set to DHCP by mistake. Not found by a scan without a DHCP server; found at
// 10.200.1.7 once the user switched the recovery server on and scanned.
#include "app/ConfigToolDlg.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "tests/common/MessageBoxRecorder.h"
#include "tests/common/NestedDialog.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/common/SimulatorProcess.h"
#include "tests/common/WindowText.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

CWinApp g_testApp("VantrelConfig");

const char kFleet[] =
    "[device]\nmac = 02-6B-D4-00-00-01\ntype = fixed\nip = 192.168.1.10\nmask = "
    "255.255.255.0\ndhcp = off\n\n"
    "[device]\nmac = 02-6B-D4-00-00-07\ntype = lost\nip = 0.0.0.0\ndhcp = on\n";

// "MAC IP" of every row, as the list shows them.
std::vector<std::string> Rows(HWND hList) {
    std::vector<std::string> rows;
    const int nRows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::string row;
        for (int nColumn : {6, 0})
            row += (row.empty() ? "" : " ") + harness::CellText(hList, nRow, nColumn);
        rows.push_back(row);
    }
    return rows;
}

// Lets the dialog handle the library's notifications until the list holds
// `count` rows or two seconds passed.
std::vector<std::string> RowsAfterScan(HWND hList, std::size_t count) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (Rows(hList).size() >= count)
            break;
        ::Sleep(10);
    }
    return Rows(hList);
}

using ScriptedMainDlg = harness::Scripted<CConfigToolDlg>;

void ClickInMain(ScriptedMainDlg& dlg, int nId) {
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(nId)));
}

// "Advanced Options", the box set to bOn, OK.
void SwitchServer(ScriptedMainDlg& dlg, bool bOn) {
    dlg.AddStep([&dlg] { ClickInMain(dlg, IDC_ADVANCED); });
    dlg.AddStep([bOn] {
        HWND h = harness::FindThreadDialog("Advanced Settings");
        ASSERT_NE(h, nullptr) << "Advanced Settings is not open";
        ::SendDlgItemMessageA(h, IDC_ENABLE_DHCP_SERVER, BM_SETCHECK,
                              bOn ? BST_CHECKED : BST_UNCHECKED, 0);
        ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

TEST(Recovery, LostDhcpDeviceIsFoundAtItsRecoveryAddressOnceTheServerRuns) {
    if (!std::getenv("VANTREL_NETNS"))
        GTEST_SKIP() << "needs a network namespace of its own (in-netns.sh)";
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    harness::MessageBoxRecorder boxes;

    harness::SimulatorProcess::Setup setup;
    setup.fleetText = kFleet;
    setup.extraOptions = "--in-test-namespace --dhcp-client";
    harness::SimulatorProcess simulator(setup);
    ASSERT_TRUE(simulator.Running()) << simulator.Error();
    // The tool's first scan goes to the simulator on loopback, never further.
    ::SetEnvironmentVariableA("ZOVA_TARGET", simulator.Target().c_str());

    ScriptedMainDlg dlg;
    std::vector<std::string> before, after;
    bool bLeased = false;
    dlg.AddStep([&] { before = RowsAfterScan(dlg.GetDlgItem(IDC_DEVICE_LIST), 2); });
    SwitchServer(dlg, true);
    dlg.AddStep([&] {
        bLeased = simulator.WaitForLog({"\"bound\"", "10.200.1.7"}, std::chrono::seconds(10));
        ClickInMain(dlg, IDC_SCAN);
    });
    dlg.AddStep([&] { after = RowsAfterScan(dlg.GetDlgItem(IDC_DEVICE_LIST), 2); });
    SwitchServer(dlg, false);
    dlg.AddStep([&] { dlg.EndDialog(IDOK); });
    dlg.DoModal();

    EXPECT_EQ(before, (std::vector<std::string>{"02-6B-D4-00-00-01 192.168.1.10"}));
    EXPECT_TRUE(bLeased) << simulator.LogText();
    EXPECT_EQ(after, (std::vector<std::string>{"02-6B-D4-00-00-07 10.200.1.7",
                                               "02-6B-D4-00-00-01 192.168.1.10"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
