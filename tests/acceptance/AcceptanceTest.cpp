// The tool as a user drives it: the real VantrelConfig.exe with the real
// zova.dll, against the device simulator's demo fleet on loopback. The test
// clicks and types on the tool's real windows from its own process and
// judges by what the windows show and what the simulator's log says arrived.
#include <winsock2.h>  // before windows.h, which the headers below bring

#include "res/Resource.h"
#include "tests/common/ProgramFolder.h"
#include "tests/common/SimulatorProcess.h"
#include "tests/common/ToolProcess.h"
#include "tests/common/UserInput.h"
#include "tests/common/WindowShot.h"
#include "tests/common/WindowText.h"
#include "tools/ToolWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace harness;

// Dialog texts as the tool shows them.
const char* const kAppBoxCaption = "VantrelConfig";  // the program's own message boxes
const char* const kWarningCaption = "Warning";
const char* const kIllegalHostname = "Illegal hostname! Only a-z, A-Z and 0-9 allowed.";

// Demo fleet devices the scenarios use.
const char* const kSaltedMac = "02-6B-D4-10-00-01";  // protocol 2.0, password "press1", salt
const char* const kPlainMac = "02-6B-D4-10-00-02";   // protocol 1.10, password "conveyor", no salt
const char* const kOldProtocolMac = "02-6B-D4-10-00-03";  // protocol 1.9
const char* const kPumpMac = "02-6B-D4-10-00-06";         // protocol 1.10, password "pumpB!", salt

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DemoFleet() {
    return ReadFile(ProgramFolder() + "demo.fleet");
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const auto& text : texts)
        joined += (joined.empty() ? "" : " | ") + text;
    return joined;
}

class Acceptance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_fleet.empty()) << "demo.fleet is not beside the test";
        ASSERT_TRUE(m_simulator.Running()) << m_simulator.Error();
        m_tool = std::make_unique<ToolProcess>(m_simulator.Target());
        ASSERT_TRUE(m_tool->Started()) << "VantrelConfig.exe did not start";
        m_hMain = m_tool->MainWindow();
        ASSERT_NE(m_hMain, nullptr) << "the main window never showed";
        ASSERT_TRUE(m_tool->WaitForRows(8)) << "the fleet's eight devices were not listed:\n"
                                            << RowsText() << m_simulator.LogText();
    }

    void TearDown() override {
        if (m_tool && m_tool->Running()) {
            ::PostMessageA(m_hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
            m_tool->WaitForExit();
        }
        m_tool.reset();
    }

    std::string RowsText() {
        std::string text;
        for (const auto& row : m_tool->ReadRows())
            text += Joined(row) + "\n";
        return text;
    }

    HWND List() const { return ::GetDlgItem(m_hMain, IDC_DEVICE_LIST); }
    HWND Header() const {
        return reinterpret_cast<HWND>(::SendMessageA(List(), LVM_GETHEADER, 0, 0));
    }

    // A point inside mac's row, in the list's client coordinates.
    bool RowPoint(const std::string& mac, POINT& point) {
        const int nRow = RowOf(m_tool->ReadRows(), mac);
        RECT rect{};
        if (nRow < 0 || !tools::ReadRowRect(m_hMain, nRow, rect))
            return false;
        point = POINT{rect.left + 30, (rect.top + rect.bottom) / 2};
        return true;
    }

    void SelectRow(const std::string& mac) {
        POINT point{};
        ASSERT_TRUE(RowPoint(mac, point)) << mac << " is not listed:\n" << RowsText();
        ClickAt(List(), point);
    }

    // Double-clicks mac's row and returns the configure dialog it opens.
    HWND OpenConfigure(const std::string& mac) {
        POINT point{};
        if (!RowPoint(mac, point)) {
            ADD_FAILURE() << mac << " is not listed:\n" << RowsText();
            return nullptr;
        }
        DoubleClickAt(List(), point);
        HWND hDlg = m_tool->WaitForDialog("Configure: " + mac);
        EXPECT_NE(hDlg, nullptr) << "no configure dialog for " << mac
                                 << "; open: " << Joined(m_tool->OtherDialogs());
        return hDlg;
    }

    void ClickHeader(int nColumn) {
        RECT rect{};
        ASSERT_TRUE(tools::ReadHeaderItemRect(m_hMain, nColumn, rect));
        ClickAt(Header(), POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    }

    // Waits for a message box with this caption, reads it and clicks its OK.
    std::string AnswerMessageBox(const char* caption) {
        HWND hBox = m_tool->WaitForDialog(caption);
        if (hBox == nullptr)
            return "<no message box \"" + std::string(caption) +
                   "\"; open: " + Joined(m_tool->OtherDialogs()) + ">";
        const std::string message = MessageOf(hBox);
        ClickItem(hBox, IDOK);
        EXPECT_TRUE(m_tool->WaitUntilGone(caption)) << "the message box did not close";
        return message;
    }

    // Log lines that hold every fragment.
    std::vector<std::string> LogLinesWith(const std::vector<std::string>& fragments) const {
        std::vector<std::string> found;
        for (const std::string& line : m_simulator.LogLines()) {
            if (std::all_of(fragments.begin(), fragments.end(), [&](const std::string& f) {
                    return line.find(f) != std::string::npos;
                }))
                found.push_back(line);
        }
        return found;
    }

    bool WaitForLog(const std::vector<std::string>& fragments) const {
        return m_simulator.WaitForLog(fragments, std::chrono::seconds(30));
    }

    // What mac's row shows in column now; empty when the row is missing.
    std::string CellOf(const std::string& mac, int column) {
        const Rows rows = m_tool->ReadRows();
        const int nRow = RowOf(rows, mac);
        return nRow < 0 ? std::string() : rows[nRow][column];
    }

    // Waits until mac's row shows text in column.
    bool WaitForCell(const std::string& mac, int column, const std::string& text) {
        return WaitUntil(
            [&] {
                const Rows rows = m_tool->ReadRows();
                const int nRow = RowOf(rows, mac);
                return nRow >= 0 && rows[nRow][column] == text;
            },
            std::chrono::seconds(30));
    }

    // Marks a point in the tool's input queue: a click on the MAC header,
    // posted after earlier input, is handled after it, and its effect (the
    // MAC column sorted the other way round, or ascending) can be seen.
    bool EarlierInputHandled() {
        std::vector<std::string> ascending = ColumnOf(m_tool->ReadRows(), 6);
        std::sort(ascending.begin(), ascending.end());
        const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
        const bool bWasAscending = ColumnOf(m_tool->ReadRows(), 6) == ascending;
        ClickHeader(6);
        return WaitUntil(
            [&] {
                return ColumnOf(m_tool->ReadRows(), 6) == (bWasAscending ? descending : ascending);
            },
            std::chrono::seconds(20));
    }

    std::string m_fleet = DemoFleet();
    SimulatorProcess m_simulator{{m_fleet, 0, 0}};
    std::unique_ptr<ToolProcess> m_tool;
    HWND m_hMain = nullptr;
};

TEST_F(Acceptance, StartUpShowsTitleButtonsAndTheFleetInIpOrder) {
    EXPECT_EQ(WindowText(m_hMain), "Vantrel Config v1.4.0");
    struct Button {
        int nId;
        const char* text;
        bool bVisible;
    };
    for (const Button& button : {Button{IDC_SCAN, "Scan", true}, Button{IDOK, "Exit", true},
                                 Button{IDC_ADVANCED, "Advanced Options", true},
                                 Button{IDC_WINK, "Wink", true}, Button{IDC_FILE, "File", false}}) {
        HWND hButton = ::GetDlgItem(m_hMain, button.nId);
        EXPECT_EQ(WindowText(hButton), button.text);
        EXPECT_EQ(::IsWindowVisible(hButton) != FALSE, button.bVisible) << button.text;
    }
    const Rows expected = {
        {"10.20.0.15", "255.255.0.0", "10.20.0.1", "On", "3.00.7", "Gateway Modbus TCP/RTU",
         "02-6B-D4-10-00-04"},
        {"169.254.12.7", "255.255.0.0", "0.0.0.0", "On", "1.00.980",
         "Temperature controller 4-loop", "02-6B-D4-10-00-05"},
        {"192.168.1.100", "255.255.255.0", "N/A", "Off", "N/A", "Counter module 2CNT",
         "02-6B-D4-10-00-07"},
        {"192.168.10.21", "255.255.255.0", "192.168.10.1", "Off", "2.04.112",
         "IO-Link master 8-port", "02-6B-D4-10-00-01"},
        {"192.168.10.22", "255.255.255.0", "192.168.10.1", "Off", "1.12.3051",
         "Digital I/O 16DI/16DO", "02-6B-D4-10-00-02"},
        {"192.168.10.23", "255.255.255.0", "192.168.10.1", "Off", "1.05.12",
         "Analog input 8AI 4-20mA", "02-6B-D4-10-00-03"},
        {"192.168.10.31", "255.255.255.0", "192.168.10.1", "Off", "2.01.44", "Motor starter 3kW",
         "02-6B-D4-10-00-06"},
        {"192.168.10.90", "255.255.255.0", "192.168.10.1", "Off", "4.02.0",
         "Third-party RFID reader", "0A-11-2C-00-30-99"},
    };
    EXPECT_EQ(m_tool->ReadRows(), expected) << RowsText();
    EXPECT_FALSE(LogLinesWith({"\"scan\"", "answered"}).empty()) << m_simulator.LogText();
    SaveWindowShot(m_hMain, "main");
}

TEST_F(Acceptance, ScanEmptiesTheListAndFindsTheFleetAgain) {
    const std::size_t nScansBefore = LogLinesWith({"\"scan\""}).size();
    ClickItem(m_hMain, IDC_SCAN);
    ASSERT_TRUE(WaitUntil([&] { return LogLinesWith({"\"scan\""}).size() > nScansBefore; },
                          std::chrono::seconds(30)))
        << "no scan arrived after \"Scan\"\n"
        << m_simulator.LogText();
    EXPECT_TRUE(m_tool->WaitForRows(8)) << RowsText();
    EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
}

// Each column: what its texts read in ascending order. The first click on a
// column sorts it ascending, the next one descending, the exact reverse;
// only on IP, the order at start-up, does the very first click reverse.
TEST_F(Acceptance, SortByEachColumnAndBack) {
    struct Column {
        int nColumn;
        std::vector<std::string> ascending;
    };
    const std::vector<Column> columns = {
        {0,
         {"10.20.0.15", "169.254.12.7", "192.168.1.100", "192.168.10.21", "192.168.10.22",
          "192.168.10.23", "192.168.10.31", "192.168.10.90"}},
        {1,
         {"255.255.0.0", "255.255.0.0", "255.255.255.0", "255.255.255.0", "255.255.255.0",
          "255.255.255.0", "255.255.255.0", "255.255.255.0"}},
        {2,
         {"0.0.0.0", "10.20.0.1", "192.168.10.1", "192.168.10.1", "192.168.10.1", "192.168.10.1",
          "192.168.10.1", "N/A"}},
        {3, {"Off", "Off", "Off", "Off", "Off", "Off", "On", "On"}},
        {4, {"1.00.980", "1.05.12", "1.12.3051", "2.01.44", "2.04.112", "3.00.7", "4.02.0", "N/A"}},
        {5,
         {"Analog input 8AI 4-20mA", "Counter module 2CNT", "Digital I/O 16DI/16DO",
          "Gateway Modbus TCP/RTU", "IO-Link master 8-port", "Motor starter 3kW",
          "Temperature controller 4-loop", "Third-party RFID reader"}},
        {6,
         {"02-6B-D4-10-00-01", "02-6B-D4-10-00-02", "02-6B-D4-10-00-03", "02-6B-D4-10-00-04",
          "02-6B-D4-10-00-05", "02-6B-D4-10-00-06", "02-6B-D4-10-00-07", "0A-11-2C-00-30-99"}},
    };
    auto waitForColumn = [&](int nColumn, const std::vector<std::string>& texts) {
        return WaitUntil([&] { return ColumnOf(m_tool->ReadRows(), nColumn) == texts; },
                         std::chrono::seconds(20));
    };
    for (const Column& column : columns) {
        SCOPED_TRACE("column " + std::to_string(column.nColumn));
        std::vector<std::string> descending(column.ascending.rbegin(), column.ascending.rend());
        const bool bIp =
            column.nColumn == 0;  // clicked first: the list starts sorted by IP, ascending
        ClickHeader(column.nColumn);
        EXPECT_TRUE(waitForColumn(column.nColumn, bIp ? descending : column.ascending))
            << "first click:\n"
            << RowsText();
        ClickHeader(column.nColumn);
        EXPECT_TRUE(waitForColumn(column.nColumn, bIp ? column.ascending : descending))
            << "second click:\n"
            << RowsText();
    }
    // A new scan fills the list in the order chosen last: MAC, descending.
    const auto& macs = columns.back().ascending;
    const std::vector<std::string> macsDescending(macs.rbegin(), macs.rend());
    const std::size_t nScansBefore = LogLinesWith({"\"scan\""}).size();
    ClickItem(m_hMain, IDC_SCAN);
    ASSERT_TRUE(WaitUntil([&] { return LogLinesWith({"\"scan\""}).size() > nScansBefore; },
                          std::chrono::seconds(30)));
    EXPECT_TRUE(waitForColumn(6, macsDescending)) << RowsText();
}

TEST_F(Acceptance, ConfigureWithoutSaltSendsThePasswordAsTyped) {
    HWND hDlg = OpenConfigure(kPlainMac);
    ASSERT_NE(hDlg, nullptr);
    // Filled with what the device reported.
    EXPECT_EQ(WindowText(::GetDlgItem(hDlg, IDC_HOSTNAME)), "conveyor-io-2");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_SECONDARY_DNS)));
    SaveWindowShot(hDlg, "configure");

    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 42);
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "conveyor");
    // The reported host name has hyphens, which the device does not take.
    ClickItem(hDlg, IDOK);
    EXPECT_EQ(AnswerMessageBox(kAppBoxCaption), kIllegalHostname);
    ASSERT_TRUE(::IsWindowVisible(hDlg)) << "the dialog closed on an illegal host name";
    EXPECT_TRUE(LogLinesWith({"\"configure\""}).empty()) << m_simulator.LogText();

    TypeInto(::GetDlgItem(hDlg, IDC_HOSTNAME), "conveyor2");
    ClickItem(hDlg, IDOK);
    ASSERT_TRUE(WaitForLog({"\"configure\"", kPlainMac, "\"accepted\""})) << m_simulator.LogText();
    const auto lines = LogLinesWith({"\"configure\"", kPlainMac});
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("\"password\":\"conveyor\""), std::string::npos) << lines.front();
    EXPECT_NE(lines.front().find("\"ip\":\"192.168.10.42\""), std::string::npos) << lines.front();
    EXPECT_NE(lines.front().find("\"hostname\":\"conveyor2\""), std::string::npos) << lines.front();
    // The accepted request makes the tool scan again; the row shows the new address.
    EXPECT_TRUE(WaitForCell(kPlainMac, 0, "192.168.10.42")) << RowsText();
    EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
}

TEST_F(Acceptance, ConfigureWithSaltSendsOnlyADigest) {
    HWND hDlg = OpenConfigure(kSaltedMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 51);
    TypeInto(::GetDlgItem(hDlg, IDC_HOSTNAME), "pressline1");
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "press1");
    ClickItem(hDlg, IDOK);
    ASSERT_TRUE(WaitForLog({"\"configure\"", kSaltedMac, "\"accepted\""})) << m_simulator.LogText();
    for (const std::string& line : LogLinesWith({"\"configure\"", kSaltedMac}))
        EXPECT_EQ(line.find("press1"), std::string::npos)
            << "the password travelled as typed: " << line;
    EXPECT_TRUE(WaitForCell(kSaltedMac, 0, "192.168.10.51")) << RowsText();
}

TEST_F(Acceptance, CancelAndEscCloseTheConfigureDialogWithoutSending) {
    HWND hDlg = OpenConfigure(kPlainMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 43);
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "conveyor");
    ClickItem(hDlg, IDCANCEL);
    ASSERT_TRUE(m_tool->WaitUntilGone("Configure: " + std::string(kPlainMac)));

    hDlg = OpenConfigure(kPlainMac);
    ASSERT_NE(hDlg, nullptr);
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "conveyor");
    PressKey(hDlg, VK_ESCAPE);
    ASSERT_TRUE(m_tool->WaitUntilGone("Configure: " + std::string(kPlainMac)));

    ASSERT_TRUE(EarlierInputHandled());
    EXPECT_TRUE(LogLinesWith({"\"configure\""}).empty()) << m_simulator.LogText();
    EXPECT_EQ(CellOf(kPlainMac, 0), "192.168.10.22");
}

TEST_F(Acceptance, PasswordChangeThenLoginWithTheNewPassword) {
    HWND hDlg = OpenConfigure(kPumpMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 76);
    TypeInto(::GetDlgItem(hDlg, IDC_HOSTNAME), "pumpstationb");
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "pumpB!");
    ClickItem(hDlg, IDC_CHANGE_PASSWORD);
    TypeInto(::GetDlgItem(hDlg, IDC_NEW_PASSWORD), "Fresh42");
    ClickItem(hDlg, IDOK);
    ASSERT_TRUE(WaitForLog({"\"configure\"", kPumpMac, "\"accepted\"", "\"new_password\""}))
        << m_simulator.LogText();
    for (const std::string& line : LogLinesWith({"\"configure\"", kPumpMac})) {
        EXPECT_EQ(line.find("Fresh42"), std::string::npos)
            << "the new password travelled as typed: " << line;
        EXPECT_EQ(line.find("pumpB!"), std::string::npos)
            << "the password travelled as typed: " << line;
    }
    // After the rescan, the new password opens the device; the old one no longer does.
    ASSERT_TRUE(WaitForCell(kPumpMac, 0, "192.168.10.76")) << RowsText();
    ASSERT_TRUE(m_tool->WaitForRows(8));
    hDlg = OpenConfigure(kPumpMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 77);
    TypeInto(::GetDlgItem(hDlg, IDC_HOSTNAME), "pumpstationb");
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "Fresh42");
    ClickItem(hDlg, IDOK);
    EXPECT_TRUE(WaitForCell(kPumpMac, 0, "192.168.10.77")) << RowsText() << m_simulator.LogText();
    EXPECT_TRUE(LogLinesWith({"\"configure\"", kPumpMac, "wrong-password"}).empty())
        << m_simulator.LogText();

    hDlg = OpenConfigure(kPumpMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 78);
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "pumpB!");
    ClickItem(hDlg, IDOK);
    EXPECT_EQ(AnswerMessageBox(kWarningCaption), "Invalid password");
}

TEST_F(Acceptance, WrongPasswordShowsInvalidPasswordOnce) {
    HWND hDlg = OpenConfigure(kSaltedMac);
    ASSERT_NE(hDlg, nullptr);
    TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), 3, 52);
    TypeInto(::GetDlgItem(hDlg, IDC_HOSTNAME), "pressline1");
    TypeInto(::GetDlgItem(hDlg, IDC_PASSWORD), "press2");
    ClickItem(hDlg, IDOK);
    EXPECT_EQ(AnswerMessageBox(kWarningCaption), "Invalid password");
    EXPECT_TRUE(WaitForLog({"\"configure\"", kSaltedMac, "wrong-password"}))
        << m_simulator.LogText();
    // The library repeats its request; the repeats must not bring the box back.
    ASSERT_TRUE(EarlierInputHandled());
    ::Sleep(1500);
    EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
    EXPECT_TRUE(LogLinesWith({"\"configure\"", "\"accepted\""}).empty()) << m_simulator.LogText();
    EXPECT_EQ(CellOf(kSaltedMac, 0), "192.168.10.21");
}

TEST_F(Acceptance, WinkReachesADeviceThatSupportsIt) {
    SelectRow(kPlainMac);
    ClickItem(m_hMain, IDC_WINK);
    EXPECT_TRUE(WaitForLog({"\"wink\"", kPlainMac, "winked"})) << m_simulator.LogText();
    EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
}

TEST_F(Acceptance, WinkToAnOldDeviceShowsItIsNotSupported) {
    SelectRow(kOldProtocolMac);
    ClickItem(m_hMain, IDC_WINK);
    EXPECT_EQ(AnswerMessageBox(kAppBoxCaption), "Device does not support wink.");
    ASSERT_TRUE(EarlierInputHandled());
    EXPECT_TRUE(LogLinesWith({"\"wink\""}).empty()) << m_simulator.LogText();
}

TEST_F(Acceptance, AboutBoxFromTheSystemMenu) {
    // The system menu's "About..." entry; without a window manager there is
    // no caption bar to open the menu from, so the command goes as the menu sends it.
    ::PostMessageA(m_hMain, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND hAbout = m_tool->WaitForDialog("About Vantrel Config");
    ASSERT_NE(hAbout, nullptr) << Joined(m_tool->OtherDialogs());
    EXPECT_EQ(WindowText(::GetDlgItem(hAbout, IDC_VERSION_TEXT)), "Version: 1.4.0.0");
    const std::string legal = WindowText(::GetDlgItem(hAbout, IDC_LEGAL_TEXT));
    EXPECT_GE(legal.size(), std::string(" Ulvenor Ltd").size());
    EXPECT_EQ(legal.substr(legal.size() - 12), " Ulvenor Ltd") << legal;
    SaveWindowShot(hAbout, "about");
    ClickItem(hAbout, IDOK);
    EXPECT_TRUE(m_tool->WaitUntilGone("About Vantrel Config"));
    EXPECT_TRUE(m_tool->Running());
}

// Whether UDP port 67 can be taken on every address: a bind only, nothing
// is sent. The server the dialog switches on would hold it.
bool DhcpPortFree() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(67);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool bFree = s != INVALID_SOCKET &&
                       ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (s != INVALID_SOCKET)
        ::closesocket(s);
    ::WSACleanup();
    return bFree;
}

// Switching the recovery server on binds port 67 on every address and
// broadcasts: that is tested only inside network namespaces (tests/dhcp).
// Here the dialog is opened and left with Cancel and with an unchanged OK,
// and the server must stay off.
TEST_F(Acceptance, AdvancedSettingsCancelAndUnchangedOkLeaveTheServerOff) {
    const bool bPortFreeBefore = DhcpPortFree();
    for (int nButton : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(nButton == IDOK ? "OK" : "Cancel");
        ClickItem(m_hMain, IDC_ADVANCED);
        HWND hAdvanced = m_tool->WaitForDialog("Advanced Settings");
        ASSERT_NE(hAdvanced, nullptr) << Joined(m_tool->OtherDialogs());
        HWND hBox = ::GetDlgItem(hAdvanced, IDC_ENABLE_DHCP_SERVER);
        EXPECT_EQ(WindowText(hBox), "Enable internal DHCP server");
        EXPECT_EQ(::SendMessageA(hBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        if (nButton == IDCANCEL)
            SaveWindowShot(hAdvanced, "advanced");
        ClickItem(hAdvanced, nButton);
        EXPECT_TRUE(m_tool->WaitUntilGone("Advanced Settings"));
        ASSERT_TRUE(EarlierInputHandled());
        EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
        if (bPortFreeBefore)
            EXPECT_TRUE(DhcpPortFree()) << "port 67 is taken: the server was switched on";
    }
}

TEST_F(Acceptance, ExitEndsTheTool) {
    ClickItem(m_hMain, IDOK);
    EXPECT_TRUE(m_tool->WaitForExit()) << "the tool still runs after \"Exit\"";
}

TEST_F(Acceptance, EscDoesNothing) {
    SelectRow(kPlainMac);  // the list has the focus, as after a user's click
    PressKey(m_hMain, VK_ESCAPE);
    ASSERT_TRUE(EarlierInputHandled());
    EXPECT_TRUE(m_tool->Running());
    EXPECT_TRUE(::IsWindowVisible(m_hMain));
    EXPECT_TRUE(m_tool->OtherDialogs().empty()) << Joined(m_tool->OtherDialogs());
}

TEST_F(Acceptance, AltF4EndsTheTool) {
    SelectRow(kPlainMac);
    PressAltF4(m_hMain);
    EXPECT_TRUE(m_tool->WaitForExit()) << "the tool still runs after Alt+F4";
}

}  // namespace
