// Controls tied to C++ objects: their own message maps, default processing
// by the original window procedure, and notifications passed back to the
// control that sent them.
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/framework/TestDialogs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using harness::Scripted;
constexpr UINT kPing = WM_APP + 5;

class PingButton : public CButton {
public:
    std::vector<std::string> m_events;

protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            msg::Raw<&PingButton::OnPing>(kPing),
            msg::Raw<&PingButton::OnSetText>(WM_SETTEXT),
        };
        static const MessageMap kMap(CButton::GetMessageMap(), kEntries);
        return &kMap;
    }

private:
    LRESULT OnPing(WPARAM, LPARAM) {
        m_events.push_back("ping");
        return 17;
    }
    LRESULT OnSetText(WPARAM, LPARAM lParam) {
        m_events.push_back(std::string("settext ") + reinterpret_cast<const char*>(lParam));
        return Default();  // the button itself stores the text
    }
};

class ClickableList : public CWnd {
public:
    std::vector<int> m_clickedColumns;
    bool m_bPreSubclassSawWindow = false;

protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            msg::NotifyReflect<&ClickableList::OnColumnClick>(LVN_COLUMNCLICK),
        };
        static const MessageMap kMap(CWnd::GetMessageMap(), kEntries);
        return &kMap;
    }
    void PreSubclassWindow() override { m_bPreSubclassSawWindow = ::IsWindow(m_hWnd) != FALSE; }

private:
    void OnColumnClick(NMHDR* pHeader, LRESULT* pResult) {
        m_clickedColumns.push_back(reinterpret_cast<NMLISTVIEW*>(pHeader)->iSubItem);
        *pResult = 0;
    }
};

class BoundDialog : public CDialog {
public:
    BoundDialog() : CDialog(IDD_TEST_OUTER) {}
    PingButton m_button;
    ClickableList m_list;
    int m_nExchanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        ++m_nExchanges;
        DDX_Control(pDX, IDC_TEST_BUTTON, m_button);
        DDX_Control(pDX, IDC_TEST_LIST, m_list);
    }
};

// A left click on header item nItem, as the mouse gives it.
void ClickHeaderItem(HWND hHeader, int nItem) {
    RECT rect{};
    ::SendMessageA(hHeader, HDM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(hHeader, WM_LBUTTONUP, 0, point);
}
}  // namespace

TEST(ControlsTest, BoundControlsUseTheirOwnMapsAndFallBackToTheirOriginalProcedure) {
    Scripted<BoundDialog> dialog;
    LRESULT pingResult = 0;
    char szText[32] = {};
    dialog.AddStep([&] {
        HWND hButton = dialog.GetDlgItem(IDC_TEST_BUTTON);
        EXPECT_EQ(CWnd::FromHandleAttached(hButton), &dialog.m_button);
        pingResult = ::SendMessageA(hButton, kPing, 0, 0);
        ::SetWindowTextA(hButton, "Renamed");
        ::GetWindowTextA(hButton, szText, sizeof szText);
        // A second exchange leaves the ties as they are.
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(pingResult, 17);
    EXPECT_STREQ(szText, "Renamed");
    EXPECT_EQ(dialog.m_button.m_events, (std::vector<std::string>{"ping", "settext Renamed"}));
    EXPECT_EQ(dialog.m_nExchanges, 2);
    EXPECT_TRUE(dialog.m_list.m_bPreSubclassSawWindow);
    EXPECT_EQ(dialog.m_button.m_hWnd, nullptr) << "untied when its window went";
}

TEST(ControlsTest, ListViewColumnClickIsPassedBackToTheList) {
    Scripted<BoundDialog> dialog;
    dialog.AddStep([&] {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 60;
        column.pszText = const_cast<char*>("A");
        dialog.m_list.SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        column.pszText = const_cast<char*>("B");
        dialog.m_list.SendMessage(LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
        HWND hHeader = reinterpret_cast<HWND>(dialog.m_list.SendMessage(LVM_GETHEADER));
        ClickHeaderItem(hHeader, 1);
        ClickHeaderItem(hHeader, 0);
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_list.m_clickedColumns, (std::vector<int>{1, 0}));
}

TEST(ControlsTest, ObjectGoingFirstGivesTheWindowBackItsProcedure) {
    HWND hButton = ::CreateWindowA("BUTTON", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hButton, nullptr);
    const LONG_PTR originalProc = ::GetWindowLongPtrA(hButton, GWLP_WNDPROC);
    {
        PingButton button;
        ASSERT_TRUE(button.SubclassWindow(hButton));
        EXPECT_FALSE(PingButton().SubclassWindow(hButton)) << "a window has one object";
        EXPECT_EQ(::SendMessageA(hButton, kPing, 0, 0), 17);
    }
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(CWnd::FromHandleAttached(hButton), nullptr);
    ::DestroyWindow(hButton);
}

namespace {
HWND MakeButton() {
    return ::CreateWindowA("BUTTON", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

// A procedure another component puts in front of ours.
WNDPROC g_pfnBehindOuter = nullptr;
LRESULT CALLBACK OuterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(g_pfnBehindOuter, hWnd, message, wParam, lParam);
}
}  // namespace

TEST(ControlsTest, WindowWhoseUserDataIsTakenIsNotSubclassedNorMisread) {
    HWND hButton = MakeButton();
    ASSERT_NE(hButton, nullptr);
    // Someone else's data that would pass for an object of ours if read blindly.
    PingButton stranger;
    ::SetWindowLongPtrA(hButton, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&stranger));
    const LONG_PTR originalProc = ::GetWindowLongPtrA(hButton, GWLP_WNDPROC);

    PingButton button;
    EXPECT_FALSE(button.SubclassWindow(hButton));
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&stranger));
    EXPECT_EQ(CWnd::FromHandleAttached(hButton), nullptr);
    EXPECT_NE(::SendMessageA(hButton, kPing, 0, 0), 17);
    EXPECT_TRUE(stranger.m_events.empty());
    ::DestroyWindow(hButton);
}

TEST(ControlsTest, NotificationFromAWindowNotOursIsNotPassedToWhatItsUserDataHolds) {
    Scripted<BoundDialog> dialog;
    ClickableList stranger;  // untied, but with a handler for what it is sent
    dialog.AddStep([&] {
        HWND hEdit = dialog.GetDlgItem(IDC_TEST_EDIT);
        ::SetWindowLongPtrA(hEdit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&stranger));
        NMLISTVIEW click{};
        click.hdr = {hEdit, IDC_TEST_EDIT, static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iSubItem = 3;
        dialog.SendMessage(WM_NOTIFY, IDC_TEST_EDIT, reinterpret_cast<LPARAM>(&click));
        // The same from the list, which is ours, reaches the list's object.
        click.hdr = {dialog.m_list.m_hWnd, IDC_TEST_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
        dialog.SendMessage(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&click));
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(stranger.m_clickedColumns.empty());
    EXPECT_EQ(dialog.m_list.m_clickedColumns, std::vector<int>{3});
}

TEST(ControlsTest, SubclassUnsubclassAndSubclassAgain) {
    HWND hButton = MakeButton();
    ASSERT_NE(hButton, nullptr);
    const LONG_PTR originalProc = ::GetWindowLongPtrA(hButton, GWLP_WNDPROC);
    PingButton first;
    PingButton second;

    ASSERT_TRUE(first.SubclassWindow(hButton));
    HWND hOther = MakeButton();
    EXPECT_FALSE(first.SubclassWindow(hOther)) << "an object has one window";
    ::DestroyWindow(hOther);
    EXPECT_EQ(first.UnsubclassWindow(), hButton);
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWLP_USERDATA), 0) << "the slot is free again";
    EXPECT_EQ(CWnd::FromHandleAttached(hButton), nullptr);
    EXPECT_EQ(first.UnsubclassWindow(), nullptr) << "nothing left to untie";

    ASSERT_TRUE(second.SubclassWindow(hButton));
    EXPECT_EQ(CWnd::FromHandleAttached(hButton), &second);
    EXPECT_EQ(::SendMessageA(hButton, kPing, 0, 0), 17);
    EXPECT_TRUE(first.m_events.empty());
    EXPECT_EQ(second.m_events, std::vector<std::string>{"ping"});

    // A procedure put in front of ours still passes messages to our object;
    // reflection no longer finds it, as it no longer owns the window's procedure.
    g_pfnBehindOuter = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    EXPECT_EQ(::SendMessageA(hButton, kPing, 0, 0), 17);
    EXPECT_EQ(CWnd::FromHandleAttached(hButton), nullptr);
    ::SetWindowLongPtrA(hButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnBehindOuter));
    ::DestroyWindow(hButton);
}

TEST(ControlsTest, DestroyedWindowUntiesItsObjectWhichCanBeTiedAgain) {
    PingButton button;
    HWND hFirst = MakeButton();
    ASSERT_TRUE(button.SubclassWindow(hFirst));
    ::DestroyWindow(hFirst);
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandleAttached(hFirst), nullptr);

    HWND hSecond = MakeButton();
    ASSERT_TRUE(button.SubclassWindow(hSecond));
    EXPECT_EQ(::SendMessageA(hSecond, kPing, 0, 0), 17);
    EXPECT_EQ(CWnd::FromHandleAttached(hSecond), &button);
    ::DestroyWindow(hSecond);
    EXPECT_EQ(button.m_hWnd, nullptr);
}
