// The whole path on the real main dialog: the real zova.dll talks to the
// device simulator on loopback; the user double-clicks, edits and sets, and
// the rescan shows what the simulated device now reports.
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "tests/common/Controls.h"
#include "tests/common/MainDialogDriver.h"
#include "tests/common/MessageBoxRecorder.h"
#include "tests/common/NestedDialog.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/common/SimulatorProcess.h"
#include "tests/common/WindowText.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace harness;

CWinApp g_app("VantrelConfig");

// Each case has devices of its own: the library starts once per process, so
// one simulator serves every case of this program, and a case must not see
// what an earlier one changed.
const char* const kFleet = R"(
[device]
mac = 02-6B-D4-CC-00-01
protocol = 1.10
ip = 192.168.10.21
mask = 255.255.255.0
gateway = 192.168.10.1
dhcp = off
hostname = alpha
password-protection = on
password = right

[device]
mac = 02-6B-D4-CC-00-02
protocol = 1.9
ip = 192.168.10.22
mask = 255.255.255.0
gateway = 192.168.10.1
dhcp = off
hostname = bravo
password-protection = on
password = pumpB!
salt = b4

[device]
mac = 02-6B-D4-CC-00-03
protocol = 1.10
ip = 192.168.10.23
mask = 255.255.255.0
gateway = 192.168.10.1
dhcp = off
hostname = charlie
password-protection = on
password = right
)";

const char* const kMacA = "02-6B-D4-CC-00-01";
const char* const kMacB = "02-6B-D4-CC-00-02";
const char* const kMacC = "02-6B-D4-CC-00-03";

// Handles the thread's messages until the condition holds (at most 20 s).
bool PumpUntil(const std::function<bool()>& condition) {
    const DWORD deadline = ::GetTickCount() + 20000;
    while (!condition()) {
        if (static_cast<LONG>(::GetTickCount() - deadline) > 0)
            return false;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(10);
    }
    return true;
}

// The row that shows mac, or -1.
int RowOf(HWND hList, const char* mac) {
    const int nRows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        if (CellText(hList, nRow, 6) == mac)
            return nRow;
    }
    return -1;
}

// Double-clicks mac's row; script runs on the configure dialog it opens.
std::string Configure(HWND hList, const char* mac, std::function<void(HWND)> script) {
    NestedDialog configure("Configure: ", std::move(script));
    RECT row{};
    row.left = LVIR_BOUNDS;
    ::SendMessageA(hList, LVM_GETITEMRECT, RowOf(hList, mac), reinterpret_cast<LPARAM>(&row));
    ::SendMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON,
                   MAKELPARAM(row.left + 200, (row.top + row.bottom) / 2));
    return configure.Caption();
}

class ConfigureEndToEndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_simulator = new SimulatorProcess({kFleet, 0, 0}); }
    static void TearDownTestSuite() {
        delete s_simulator;
        s_simulator = nullptr;
    }

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
        ::InitCommonControlsEx(&controls);
        ASSERT_TRUE(m_simulator.Running()) << m_simulator.Error();
        // Before the first dialog starts the library: requests go to the
        // simulator only.
        ::SetEnvironmentVariableA("ZOVA_TARGET", m_simulator.Target().c_str());
    }

    // Runs a main dialog, as each case does in turn in one process; body runs
    // once every device is listed.
    void RunMainDialog(const std::function<void(HWND hList, TestMainDlg& dialog)>& body) {
        Scripted<TestMainDlg> dialog;
        dialog.AddStep([&] {
            HWND hList = dialog.GetDlgItem(IDC_DEVICE_LIST);
            if (PumpUntil([&] {
                    return RowOf(hList, kMacA) >= 0 && RowOf(hList, kMacB) >= 0 &&
                           RowOf(hList, kMacC) >= 0;
                }))
                body(hList, dialog);
            else
                ADD_FAILURE() << "the devices were not listed\n" << m_simulator.LogText();
            dialog.EndDialog(IDOK);
        });
        dialog.DoModal();
    }

    static SimulatorProcess* s_simulator;
    SimulatorProcess& m_simulator = *s_simulator;
    MessageBoxRecorder m_boxes;
};

SimulatorProcess* ConfigureEndToEndTest::s_simulator = nullptr;

TEST_F(ConfigureEndToEndTest, NewIpWithTheRightPasswordReachesTheDeviceAndTheList) {
    RunMainDialog([&](HWND hList, TestMainDlg&) {
        const std::string title = Configure(hList, kMacA, [](HWND h) {
            SetAddress(h, IDC_IP_ADDRESS, 0xC0A80A63u);  // 192.168.10.99
            SetText(h, IDC_PASSWORD, "right");
            Click(h, IDOK);
        });
        EXPECT_EQ(title, std::string("Configure: ") + kMacA);
        EXPECT_TRUE(PumpUntil([&] {
            const int nRow = RowOf(hList, kMacA);
            return nRow >= 0 && CellText(hList, nRow, 0) == "192.168.10.99";
        })) << "the rescan shows the new address\n"
            << m_simulator.LogText();
    });
    EXPECT_TRUE(m_simulator.WaitForLog({"\"configure\"", kMacA, "accepted", "192.168.10.99"}));
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(ConfigureEndToEndTest, WrongPasswordIsReportedOnce) {
    RunMainDialog([&](HWND hList, TestMainDlg&) {
        Configure(hList, kMacC, [](HWND h) {
            SetAddress(h, IDC_IP_ADDRESS, 0xC0A80A63u);
            SetText(h, IDC_PASSWORD, "wrong");
            Click(h, IDOK);
        });
        EXPECT_TRUE(PumpUntil([&] { return !m_boxes.Boxes().empty(); })) << m_simulator.LogText();
        // The library repeats each request; its repeats must not show again.
        const DWORD settle = ::GetTickCount() + 1500;
        PumpUntil([&] { return static_cast<LONG>(::GetTickCount() - settle) > 0; });
        EXPECT_EQ(CellText(hList, RowOf(hList, kMacC), 0), "192.168.10.23");
    });
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Invalid password"});
    EXPECT_TRUE(m_simulator.WaitForLog({"\"configure\"", kMacC, "wrong-password"}));
}

// The salt text the list holds for device B: its salt characters and a challenge.
std::string StoredSaltOfB(TestMainDlg& dialog) {
    for (const ZOVA_ModuleScanResponseType& response : dialog.m_listDevices.GetResponses()) {
        if (response.abMacAddr[5] == 0x02)
            return std::string(response.szPasswordSalt, strnlen(response.szPasswordSalt, 35));
    }
    return {};
}

TEST_F(ConfigureEndToEndTest, SaltedPasswordChangeThenConfigureWithTheNewOne) {
    RunMainDialog([&](HWND hList, TestMainDlg& dialog) {
        const std::string oldSalt = StoredSaltOfB(dialog);
        ASSERT_EQ(oldSalt.substr(0, 2), "b4");
        Configure(hList, kMacB, [](HWND h) {
            SetText(h, IDC_PASSWORD, "pumpB!");
            Click(h, IDC_CHANGE_PASSWORD);
            SetText(h, IDC_NEW_PASSWORD, "Fresh42");
            Click(h, IDOK);
        });
        ASSERT_TRUE(m_simulator.WaitForLog({"\"configure\"", kMacB, "accepted"}))
            << m_simulator.LogText();
        // The accepted request empties the list and scans again; the device
        // now reports the salt of its new password (with a fresh challenge).
        std::string newSaltCharacters;
        for (const std::string& line : m_simulator.LogLines()) {
            const std::size_t at = line.find("\"new_password\":\"");
            if (line.find(kMacB) != std::string::npos && at != std::string::npos)
                newSaltCharacters = line.substr(at + 16, 2);
        }
        ASSERT_EQ(newSaltCharacters.size(), 2u) << m_simulator.LogText();
        ASSERT_TRUE(PumpUntil([&] {
            const std::string salt = StoredSaltOfB(dialog);
            return salt != oldSalt &&
                   salt.substr(0, std::min<std::size_t>(salt.size(), 2)) == newSaltCharacters;
        }));
        Configure(hList, kMacB, [](HWND h) {
            SetAddress(h, IDC_IP_ADDRESS, 0xC0A80A58u);  // 192.168.10.88
            SetText(h, IDC_PASSWORD, "Fresh42");
            Click(h, IDOK);
        });
        EXPECT_TRUE(PumpUntil([&] {
            const int nRow = RowOf(hList, kMacB);
            return nRow >= 0 && CellText(hList, nRow, 0) == "192.168.10.88";
        })) << m_simulator.LogText();
    });
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(ConfigureEndToEndTest, WinkReachesA1_10DeviceAndNotA1_9One) {
    RunMainDialog([&](HWND hList, TestMainDlg&) {
        HWND hDlg = ::GetParent(hList);
        for (const char* mac : {kMacA, kMacB}) {
            LVITEMA state{};
            state.stateMask = state.state = LVIS_SELECTED;
            ::SendMessageA(hList, LVM_SETITEMSTATE, RowOf(hList, mac),
                           reinterpret_cast<LPARAM>(&state));
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_WINK, BN_CLICKED), 0);
        }
    });
    EXPECT_TRUE(m_simulator.WaitForLog({"\"wink\"", kMacA, "winked"})) << m_simulator.LogText();
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Device does not support wink."});
    for (const std::string& line : m_simulator.LogLines()) {
        EXPECT_FALSE(line.find("\"wink\"") != std::string::npos &&
                     line.find(kMacB) != std::string::npos)
            << "the 1.9 device got a wink: " << line;
    }
}

}  // namespace
