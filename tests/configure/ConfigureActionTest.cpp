// Double-click configure and Wink on the real main dialog and list, with the
// library double in place of zova.dll.
#include "configure/PasswordDigest.h"
#include "res/Resource.h"
#include "tests/common/Controls.h"
#include "tests/common/MainDialogDriver.h"
#include "tests/common/NestedDialog.h"
#include "tests/common/WindowText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>

namespace {

using namespace harness;

// Caption of the configure dialog a double click opens, before the device's name.
const char kConfigureCaption[] = "Configure: ";

class ConfigureActionTest : public MainDialogTest {
protected:
    // Two devices answer: ...-01 at 192.168.0.10, ...-02 at 192.168.0.20.
    static void ShowTwoDevices(ScriptedMainDlg& dialog, const ZOVA_ModuleScanResponseType& second) {
        ZOVA_ModuleScanResponseType first = SampleAnswer(0x01, 0xC0A8000Au);
        ZovaDouble_QueueResponse(&first);
        dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESPONSE);
        ZovaDouble_QueueResponse(&second);
        dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESPONSE);
    }

    // Double-clicks row nRow (sorted by IP) near its right end, on the MAC column.
    static void DoubleClickRow(ScriptedMainDlg& dialog, int nRow) {
        HWND hList = dialog.GetDlgItem(IDC_DEVICE_LIST);
        RECT row{};
        row.left = LVIR_BOUNDS;
        ::SendMessageA(hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(&row));
        RECT client{};
        ::GetClientRect(hList, &client);
        const int x = std::min(row.right, client.right) - 4;
        const int y = (row.top + row.bottom) / 2;
        ::SendMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    }

    static std::array<std::uint8_t, 6> ConfiguredMac(ScriptedMainDlg& dialog) {
        std::array<std::uint8_t, 6> mac{};
        dialog.m_listDevices.GetConfiguredMac(mac.data());
        return mac;
    }

    bool SentConfigure(ZOVA_ConfigureRequestType* pRequest = nullptr) {
        ZOVA_ConfigureRequestType request{};
        return ZovaDouble_LastConfigure(pRequest ? pRequest : &request) != 0;
    }
};

// The generator value that yields salt character c.
int SaltDraw(char c) {
    if (c >= 'a' && c <= 'z')
        return c - 'a';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 26;
    return c - '0' + 52;
}

const std::array<std::uint8_t, 6> kMac1{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01};
const std::array<std::uint8_t, 6> kMac2{0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x02};

TEST_F(ConfigureActionTest, SetSendsTheEditedSettingsToTheClickedDevice) {
    ScriptedMainDlg dialog;
    ZOVA_ModuleScanResponseType second =
        SampleAnswer(0x02, 0xC0A80014u).Hostname("node2").PasswordOn(1);
    bool ipShown = false;
    std::string title;
    std::array<std::uint8_t, 6> configured{};
    dialog.AddStep([&] {
        ShowTwoDevices(dialog, second);
        NestedDialog script(kConfigureCaption, [&](HWND h) {
            DWORD ip = 0;
            ::SendDlgItemMessageA(h, IDC_IP_ADDRESS, IPM_GETADDRESS, 0,
                                  reinterpret_cast<LPARAM>(&ip));
            ipShown = ip == 0xC0A80014u && ItemText(h, IDC_HOSTNAME) == "node2" &&
                      IsChecked(h, IDC_DHCP_ON) && !IsEnabled(h, IDC_PRIMARY_DNS);
            SetAddress(h, IDC_IP_ADDRESS, 0xC0A80063u);
            SetText(h, IDC_PASSWORD, "secret");
            Click(h, IDC_DHCP_OFF);
            Click(h, IDOK);
        });
        DoubleClickRow(dialog, 1);
        title = script.Caption();
        configured = ConfiguredMac(dialog);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(title, "Configure: 02-6B-D4-0A-FF-02");
    EXPECT_TRUE(ipShown) << "dialog pre-filled from the stored response";
    ZOVA_ConfigureRequestType request{};
    ASSERT_TRUE(SentConfigure(&request));
    EXPECT_EQ(0, std::memcmp(request.abMacAddr, kMac2.data(), 6));
    EXPECT_EQ(request.dwIpAddr, 0xC0A80063u);
    EXPECT_EQ(request.dwSubnetMask, 0xFFFFFF00u);
    EXPECT_EQ(request.dwGateway, 0xC0A80001u);
    EXPECT_EQ(request.dwPrimaryDns, 0u);
    EXPECT_EQ(request.bDhcpOn, 0);
    EXPECT_STREQ(request.szPassword, "secret");  // no salt: as typed
    EXPECT_EQ(request.bChangePassword, 0);
    EXPECT_STREQ(request.szHostname, "node2");
    EXPECT_EQ(configured, kMac2);
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(ConfigureActionTest, SaltedDeviceGetsProofAndSaltedNewPassword) {
    ScriptedMainDlg dialog;
    ZOVA_ModuleScanResponseType second =
        SampleAnswer(0x02, 0xC0A80014u).Salt("Qz8Hx").PasswordOn(1);
    dialog.AddStep([&] {
        ShowTwoDevices(dialog, second);
        NestedDialog script(kConfigureCaption, [&](HWND h) {
            SetText(h, IDC_PASSWORD, "old");
            Click(h, IDC_CHANGE_PASSWORD);
            SetText(h, IDC_NEW_PASSWORD, "new");
            Click(h, IDOK);
        });
        DoubleClickRow(dialog, 1);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    ZOVA_ConfigureRequestType request{};
    ASSERT_TRUE(SentConfigure(&request));
    EXPECT_EQ(std::string(request.szPassword), configure::PasswordProof("old", "Qz8Hx"));
    EXPECT_EQ(request.bChangePassword, 1);
    const std::string salted = request.szNewPassword;
    ASSERT_EQ(salted.size(), 34u);
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(salted[0])) &&
                std::isalnum(static_cast<unsigned char>(salted[1])));
    // Replaying the two salt characters as draws gives the same value: the
    // digest covers salt and the typed new password.
    int draws = 0;
    const std::string again =
        configure::SaltedNewPassword("new", [&] { return SaltDraw(salted[draws++]); });
    EXPECT_EQ(salted, again);
}

TEST_F(ConfigureActionTest, NothingIsSentWithoutARowOrAfterCancel) {
    ScriptedMainDlg dialog;
    bool shownBelowRows = true;
    std::string cancelledTitle;
    std::array<std::uint8_t, 6> afterFirst{}, afterCancel{};
    bool sentOnCancel = true;
    dialog.AddStep([&] {
        ShowTwoDevices(dialog, SampleAnswer(0x02, 0xC0A80014u));
        {
            NestedDialog script(kConfigureCaption, [](HWND h) { Click(h, IDOK); });
            HWND hList = dialog.GetDlgItem(IDC_DEVICE_LIST);
            RECT client{};
            ::GetClientRect(hList, &client);
            ::SendMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, client.bottom - 3));
            shownBelowRows = script.Answered();
        }
        {
            NestedDialog script(kConfigureCaption, [](HWND h) { Click(h, IDOK); });
            DoubleClickRow(dialog, 0);
            afterFirst = ConfiguredMac(dialog);
        }
        ZovaDouble_Reset();
        {
            NestedDialog script(kConfigureCaption, [](HWND h) {
                SetAddress(h, IDC_IP_ADDRESS, 0x0A000001u);
                Click(h, IDCANCEL);
            });
            DoubleClickRow(dialog, 1);
            cancelledTitle = script.Caption();
            afterCancel = ConfiguredMac(dialog);
            sentOnCancel = SentConfigure();
        }
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_FALSE(shownBelowRows);
    EXPECT_EQ(afterFirst, kMac1);
    EXPECT_EQ(cancelledTitle, "Configure: 02-6B-D4-0A-FF-02");
    EXPECT_FALSE(sentOnCancel);
    EXPECT_EQ(afterCancel, kMac1) << "cancel leaves the last configured device";
}

TEST_F(ConfigureActionTest, ARescanWhileTheDialogIsOpenDoesNotLoseTheDevice) {
    ScriptedMainDlg dialog;
    std::size_t storedDuringDialog = 99;
    dialog.AddStep([&] {
        ShowTwoDevices(dialog, SampleAnswer(0x02, 0xC0A80014u));
        NestedDialog script(kConfigureCaption, [&](HWND h) {
            // Another device accepted a request: the list empties and rescans.
            dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESCAN);
            storedDuringDialog = dialog.m_listDevices.GetResponses().size();
            Click(h, IDOK);
        });
        DoubleClickRow(dialog, 1);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(storedDuringDialog, 0u);
    ZOVA_ConfigureRequestType request{};
    ASSERT_TRUE(SentConfigure(&request));
    EXPECT_EQ(0, std::memcmp(request.abMacAddr, kMac2.data(), 6));
    EXPECT_EQ(request.dwIpAddr, 0xC0A80014u);
}

TEST_F(ConfigureActionTest, WinkOnlyForProtocol1_10AndLater) {
    struct Case {
        std::uint8_t major, minor;
        bool sent;
    } cases[] = {{1, 10, true}, {1, 9, false}};  // the full version table is tested natively
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        ZovaDouble_Reset();
        m_boxes.Clear();
        ScriptedMainDlg dialog;
        ZOVA_ModuleScanResponseType second =
            SampleAnswer(0x02, 0xC0A80014u).Protocol(c.major, c.minor);
        bool sentWithoutSelection = true;
        std::array<std::uint8_t, 6> configured{};
        dialog.AddStep([&] {
            ShowTwoDevices(dialog, second);
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WINK, BN_CLICKED), 0);
            ZOVA_ConfigureRequestType none{};
            sentWithoutSelection = ZovaDouble_LastWink(&none) != 0;
            LVITEMA state{};
            state.stateMask = state.state = LVIS_SELECTED;
            dialog.m_listDevices.SendMessage(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WINK, BN_CLICKED), 0);
            configured = ConfiguredMac(dialog);
            dialog.EndDialog(IDOK);
        });
        dialog.DoModal();
        EXPECT_FALSE(sentWithoutSelection);
        ZOVA_ConfigureRequestType request{};
        EXPECT_EQ(ZovaDouble_LastWink(&request) != 0, c.sent);
        if (c.sent) {
            EXPECT_EQ(0, std::memcmp(request.abMacAddr, kMac2.data(), 6));
            EXPECT_TRUE(m_boxes.Boxes().empty());
        } else {
            ASSERT_EQ(m_boxes.Boxes().size(), 1u);
            EXPECT_EQ(m_boxes.Boxes()[0].strText, "Device does not support wink.");
            EXPECT_EQ(m_boxes.Boxes()[0].nType, static_cast<UINT>(MB_OK));
        }
        EXPECT_FALSE(SentConfigure());
        EXPECT_EQ(configured, (std::array<std::uint8_t, 6>{})) << "wink is no configure request";
    }
}

}  // namespace
