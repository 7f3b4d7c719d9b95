// Controls tied to C++ objects: their own message maps, default processing
// by the original window procedure, and notifications passed back to the
// control that sent them.
#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/framework/test_dialogs.h"

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
