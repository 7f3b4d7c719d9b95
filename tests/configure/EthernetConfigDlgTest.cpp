// The configure dialog under Wine: what the user sees, what is locked, the
// two input checks and what the caller gets back.
#include "configure/EthernetConfigDlg.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "tests/common/Controls.h"
#include "tests/common/MessageBoxRecorder.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/common/WindowText.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

#include <string>
#include <vector>

namespace {

using namespace harness;

CWinApp g_app("Vantrel Config");

class EthernetConfigDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
    }

    // A device that reported everything, protected by a password, DHCP off.
    static void FillReported(CEthernetConfigDlg& dlg) {
        dlg.m_strTitle = "Configure: 02-6B-D4-0A-FF-01";
        dlg.m_bPasswordEnabled = TRUE;
        std::strcpy(dlg.m_szHostname, "node7");
        dlg.m_dwIpAddress = 0xC0A8000A;
        dlg.m_dwSubnetMask = 0xFFFFFF00;
        dlg.m_dwGateway = 0xC0A80001;
        dlg.m_dwPrimaryDns = 0x08080808;
        dlg.m_dwSecondaryDns = 0x01010101;
        dlg.m_bHostnameValid = dlg.m_bIpAddressValid = dlg.m_bSubnetMaskValid = 1;
        dlg.m_bGatewayValid = dlg.m_bPrimaryDnsValid = dlg.m_bSecondaryDnsValid = 1;
        dlg.m_nDhcp = 1;
    }

    MessageBoxRecorder m_boxes;
};

const int kAddressIds[] = {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_GATEWAY, IDC_PRIMARY_DNS,
                           IDC_SECONDARY_DNS};

TEST_F(EthernetConfigDlgTest, ReportedFieldsAreShownAndEditable) {
    Scripted<CEthernetConfigDlg> dlg;
    FillReported(dlg);
    const ModalRun run = RunModal(dlg, [](HWND h) {
        char title[64] = {};
        ::GetWindowTextA(h, title, sizeof title);
        EXPECT_STREQ(title, "Configure: 02-6B-D4-0A-FF-01");
        for (int id : kAddressIds) {
            SCOPED_TRACE("control " + std::to_string(id));
            EXPECT_TRUE(IsEnabled(h, id));
            EXPECT_FALSE(IsBlankAddress(h, id));
        }
        DWORD shown = 0;
        ::SendDlgItemMessageA(h, IDC_GATEWAY, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown, 0xC0A80001u);
        EXPECT_EQ(ItemText(h, IDC_HOSTNAME), "node7");
        EXPECT_TRUE(IsEnabled(h, IDC_HOSTNAME));
        EXPECT_FALSE(IsReadOnly(h, IDC_PASSWORD));
        EXPECT_TRUE(IsReadOnly(h, IDC_NEW_PASSWORD));
        EXPECT_FALSE(IsChecked(h, IDC_CHANGE_PASSWORD));
        EXPECT_FALSE(IsChecked(h, IDC_DHCP_ON));
        EXPECT_TRUE(IsChecked(h, IDC_DHCP_OFF));
        EXPECT_EQ(::SendDlgItemMessageA(h, IDC_PASSWORD, EM_GETLIMITTEXT, 0, 0), 29);
        EXPECT_EQ(::SendDlgItemMessageA(h, IDC_NEW_PASSWORD, EM_GETLIMITTEXT, 0, 0), 29);
        EXPECT_GT(::SendDlgItemMessageA(h, IDC_HOSTNAME, EM_GETLIMITTEXT, 0, 0), 29);

        // The user changes some things and accepts.
        SetAddress(h, IDC_IP_ADDRESS, 0xC0A80014);
        Click(h, IDC_DHCP_ON);
        SetText(h, IDC_PASSWORD, "secret");
        SetText(h, IDC_HOSTNAME, "node8");
        Click(h, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_TRUE(m_boxes.TakeTexts().empty());
    EXPECT_EQ(dlg.m_dwIpAddress, 0xC0A80014u);
    EXPECT_EQ(dlg.m_dwSubnetMask, 0xFFFFFF00u);
    EXPECT_EQ(dlg.m_dwSecondaryDns, 0x01010101u);
    EXPECT_EQ(dlg.m_nDhcp, 0);
    EXPECT_STREQ(dlg.m_szPassword, "secret");
    EXPECT_STREQ(dlg.m_szHostname, "node8");
    EXPECT_FALSE(dlg.m_bChangePassword);
}

TEST_F(EthernetConfigDlgTest, UnreportedFieldsAreBlankDisabledAndDeliverNothing) {
    Scripted<CEthernetConfigDlg> dlg;  // nothing reported, no password protection, DHCP unknown
    std::strcpy(dlg.m_szHostname, "stale");
    dlg.m_dwSecondaryDns = 0x01010101;  // present but not reported
    const ModalRun run = RunModal(dlg, [](HWND h) {
        for (int id : kAddressIds) {
            SCOPED_TRACE("control " + std::to_string(id));
            EXPECT_FALSE(IsEnabled(h, id));
            EXPECT_TRUE(IsBlankAddress(h, id));
        }
        EXPECT_FALSE(IsEnabled(h, IDC_HOSTNAME));
        EXPECT_EQ(ItemText(h, IDC_HOSTNAME), "");
        EXPECT_TRUE(IsReadOnly(h, IDC_PASSWORD));
        EXPECT_TRUE(IsReadOnly(h, IDC_NEW_PASSWORD));
        EXPECT_FALSE(IsChecked(h, IDC_DHCP_ON));
        EXPECT_FALSE(IsChecked(h, IDC_DHCP_OFF));
        Click(h, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(dlg.m_dwIpAddress | dlg.m_dwSubnetMask | dlg.m_dwGateway | dlg.m_dwPrimaryDns |
                  dlg.m_dwSecondaryDns,
              0u);
    EXPECT_STREQ(dlg.m_szHostname, "");
    EXPECT_STREQ(dlg.m_szPassword, "");
    EXPECT_EQ(dlg.m_nDhcp, -1);
}

TEST_F(EthernetConfigDlgTest, ChangePasswordTickUnlocksNewPassword) {
    Scripted<CEthernetConfigDlg> dlg;
    FillReported(dlg);
    const ModalRun run = RunModal(dlg, [](HWND h) {
        Click(h, IDC_CHANGE_PASSWORD);
        EXPECT_FALSE(IsReadOnly(h, IDC_NEW_PASSWORD));
        SetText(h, IDC_NEW_PASSWORD, "fresh");
        Click(h, IDC_CHANGE_PASSWORD);
        EXPECT_TRUE(IsReadOnly(h, IDC_NEW_PASSWORD));
        EXPECT_EQ(ItemText(h, IDC_NEW_PASSWORD), "fresh");
        Click(h, IDC_CHANGE_PASSWORD);
        EXPECT_FALSE(IsReadOnly(h, IDC_NEW_PASSWORD));
        Click(h, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_TRUE(dlg.m_bChangePassword);
    EXPECT_STREQ(dlg.m_szNewPassword, "fresh");
}

TEST_F(EthernetConfigDlgTest, SetChecksHostnameThenIpAddress) {
    const char* const kHostMessage = "Illegal hostname! Only a-z, A-Z and 0-9 allowed.";
    const char* const kIpMessage = "Last digit of IP address can not be 255.";
    struct Case {
        const char* name;
        const char* hostname;
        DWORD ip;
        DWORD gateway;
        const char* message;  // null: accepted
    } cases[] = {
        {"letters and digits", "Node42abc", 0xC0A8000A, 0xC0A80001, nullptr},
        {"empty host name", "", 0xC0A8000A, 0xC0A80001, nullptr},
        {"hyphen", "node-1", 0xC0A8000A, 0xC0A80001, kHostMessage},
        {"dot", "node.lan", 0xC0A8000A, 0xC0A80001, kHostMessage},
        {"blank", "node 1", 0xC0A8000A, 0xC0A80001, kHostMessage},
        {"underscore", "node_1", 0xC0A8000A, 0xC0A80001, kHostMessage},
        {"accented letter", "n\xE9ud", 0xC0A8000A, 0xC0A80001, kHostMessage},
        {"IP ending in 255", "node", 0xC0A800FF, 0xC0A80001, kIpMessage},
        {"only the last octet counts", "node", 0xFFFFFFFE, 0xC0A80001, nullptr},
        {"gateway ending in 255 is fine", "node", 0xC0A8000A, 0xC0A800FF, nullptr},
        {"both wrong: host name first", "no de", 0xC0A800FF, 0xC0A80001, kHostMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scripted<CEthernetConfigDlg> dlg;
        FillReported(dlg);
        const ModalRun run = RunModal(dlg, [&](HWND h) {
            SetText(h, IDC_HOSTNAME, c.hostname);
            SetAddress(h, IDC_IP_ADDRESS, c.ip);
            SetAddress(h, IDC_GATEWAY, c.gateway);
            Click(h, IDOK);
        });
        const std::vector<std::string> boxes = m_boxes.TakeTexts();
        if (c.message == nullptr) {
            EXPECT_EQ(run.result, IDOK);
            EXPECT_FALSE(run.leftOpen);
            EXPECT_TRUE(boxes.empty());
        } else {
            EXPECT_TRUE(run.leftOpen);
            EXPECT_EQ(boxes, std::vector<std::string>{c.message});
        }
    }
}

// The limit is 29 characters: at the limit both texts go through whole, one
// past it the host name is cut and the password refused.
TEST_F(EthernetConfigDlgTest, LongTextsAreCutOrRefused) {
    const std::string k29 = "abcdefghijklmnopqrstuvwxyzABC";
    Scripted<CEthernetConfigDlg> whole;
    FillReported(whole);
    const ModalRun taken = RunModal(whole, [&](HWND h) {
        SetText(h, IDC_HOSTNAME, k29.c_str());
        SetText(h, IDC_PASSWORD, k29.c_str());
        Click(h, IDOK);
    });
    EXPECT_EQ(taken.result, IDOK);
    EXPECT_EQ(std::string(whole.m_szHostname), k29);
    EXPECT_EQ(std::string(whole.m_szPassword), k29);
    EXPECT_TRUE(m_boxes.TakeTexts().empty());

    Scripted<CEthernetConfigDlg> dlg;
    FillReported(dlg);
    const ModalRun run = RunModal(dlg, [](HWND h) {
        SetText(h, IDC_HOSTNAME, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN");  // 40 letters
        Click(h, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_STREQ(dlg.m_szHostname, "abcdefghijklmnopqrstuvwxyzABC");

    // A 30-character password can only be put there by a program, not typed.
    Scripted<CEthernetConfigDlg> again;
    FillReported(again);
    const ModalRun refused = RunModal(again, [](HWND h) {
        SetText(h, IDC_PASSWORD, "123456789012345678901234567890");
        Click(h, IDOK);
    });
    EXPECT_TRUE(refused.leftOpen);
    const std::vector<std::string> boxes = m_boxes.TakeTexts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), "Enter no more than 29 characters.");
}

TEST_F(EthernetConfigDlgTest, CancelReturnsCancelAndStillWritesMembers) {
    Scripted<CEthernetConfigDlg> dlg;
    FillReported(dlg);
    const ModalRun run = RunModal(dlg, [](HWND h) {
        SetAddress(h, IDC_IP_ADDRESS, 0x0A000001);
        SetText(h, IDC_PASSWORD, "typed");
        Click(h, IDCANCEL);
    });
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_FALSE(run.leftOpen);
    // Addresses are read from the controls; texts hold the last saved exchange.
    EXPECT_EQ(dlg.m_dwIpAddress, 0x0A000001u);
    EXPECT_STREQ(dlg.m_szPassword, "");
}

TEST_F(EthernetConfigDlgTest, TemplateControlsInTabOrder) {
    struct Control {
        int id;
        const char* text;
        bool tabStop;
    } expected[] = {
        {IDOK, "Set", true},
        {IDCANCEL, "Cancel", true},
        {-1, "IP address:", false},
        {IDC_IP_ADDRESS, nullptr, true},
        {-1, "Subnet mask:", false},
        {IDC_SUBNET_MASK, nullptr, true},
        {-1, "Default gateway:", false},
        {IDC_GATEWAY, nullptr, true},
        {-1, "Primary DNS:", false},
        {IDC_PRIMARY_DNS, nullptr, true},
        {-1, "Secondary DNS:", false},
        {IDC_SECONDARY_DNS, nullptr, true},
        {-1, "Hostname:", false},
        {IDC_HOSTNAME, nullptr, true},
        {-1, "Password:", false},
        {IDC_PASSWORD, nullptr, true},
        {-1, "New password:", false},
        {IDC_NEW_PASSWORD, nullptr, true},
        {IDC_DHCP_GROUP, "DHCP", false},
        {IDC_DHCP_ON, "On", false},
        {IDC_DHCP_OFF, "Off", false},
        {IDC_CHANGE_PASSWORD, "Change password", true},
        {-1, "Ethernet configuration", false},
    };
    Scripted<CEthernetConfigDlg> dlg;
    FillReported(dlg);
    RunModal(dlg, [&](HWND h) {
        HWND child = ::GetWindow(h, GW_CHILD);
        for (const Control& c : expected) {
            SCOPED_TRACE(std::string("control ") + std::to_string(c.id) + " " +
                         (c.text ? c.text : ""));
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(static_cast<int>(static_cast<short>(::GetDlgCtrlID(child))), c.id);
            if (c.text != nullptr) {
                char text[64] = {};
                ::GetWindowTextA(child, text, sizeof text);
                EXPECT_STREQ(text, c.text);
            }
            // A checked radio button takes WS_TABSTOP itself at run time.
            const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
            if (c.id != IDC_DHCP_ON && c.id != IDC_DHCP_OFF) {
                EXPECT_EQ((style & WS_TABSTOP) != 0, c.tabStop);
            }
            child = ::GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_NE(::GetWindowLongPtrA(::GetDlgItem(h, IDC_DHCP_ON), GWL_STYLE) & WS_GROUP, 0);
        EXPECT_NE(::GetWindowLongPtrA(::GetDlgItem(h, IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD, 0);
        EXPECT_NE(::GetWindowLongPtrA(::GetDlgItem(h, IDC_NEW_PASSWORD), GWL_STYLE) & ES_PASSWORD,
                  0);
        EXPECT_EQ(::SendMessageA(h, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        Click(h, IDCANCEL);
    });
}

}  // namespace
