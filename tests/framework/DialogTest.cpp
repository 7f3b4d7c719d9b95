// The modal run, command routing, default processing and data exchange of
// CDialog, on real dialogs under the window system.
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "tests/common/MessageBoxRecorder.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/framework/TestDialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using harness::Scripted;
constexpr UINT kOuterNotify = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class OuterDialog : public CDialog {
public:
    OuterDialog() : CDialog(IDD_TEST_OUTER) {}
    std::vector<std::string> m_events;
    std::string m_strText;  // exchanged with the edit control; must not be empty
    bool m_bCancelIgnored = false;

protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            msg::Command<&OuterDialog::OnPress>(IDC_TEST_BUTTON),
            msg::Raw<&OuterDialog::OnOuterNotify>(kOuterNotify),
            msg::Raw<&OuterDialog::OnThrow>(kThrow),
            msg::SysCommand<&OuterDialog::OnSysCommand>(),
            msg::Notify<&OuterDialog::OnListClick>(IDC_TEST_LIST, NM_CLICK),
        };
        static const MessageMap kMap(CDialog::GetMessageMap(), kEntries);
        return &kMap;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        HWND hEdit = pDX->PrepareEditCtrl(IDC_TEST_EDIT);
        if (!pDX->m_bSaveAndValidate) {
            ::SetWindowTextA(hEdit, m_strText.c_str());
            return;
        }
        char szText[64] = {};
        ::GetWindowTextA(hEdit, szText, sizeof szText);
        if (szText[0] == '\0') {
            m_events.push_back("validation failed");
            pDX->Fail();
            return;
        }
        m_strText = szText;
    }
    void OnCancel() override {
        if (m_bCancelIgnored)
            m_events.push_back("cancel ignored");
        else
            CDialog::OnCancel();
    }

private:
    void OnPress() { m_events.push_back("press"); }
    LRESULT OnOuterNotify(WPARAM, LPARAM lParam) {
        m_events.push_back("notify " + std::to_string(lParam));
        return 0;
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    void OnSysCommand(UINT nID, LPARAM) {
        m_events.push_back("syscommand");
        if (nID == SC_MINIMIZE)
            Default();
    }
    void OnListClick(NMHDR*, LRESULT* pResult) { *pResult = 42; }
};

class InnerDialog : public CDialog {
public:
    explicit InnerDialog(CWnd* pParent) : CDialog(IDD_TEST_INNER, pParent) {}
};
}  // namespace

TEST(CDialogTest, CommandsReachTheMostDerivedHandlerAndEndDialogEndsTheRun) {
    Scripted<OuterDialog> dialog;
    dialog.m_bCancelIgnored = true;
    dialog.AddStep([&] {
        // A click on the button, Esc on a control, and Esc's command directly.
        ::SendMessageA(dialog.GetDlgItem(IDC_TEST_BUTTON), BM_CLICK, 0, 0);
        dialog.PostMessage(kOuterNotify, 0, 7);
        ::PostMessageA(dialog.GetDlgItem(IDC_TEST_LIST), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    dialog.AddStep([&] { dialog.EndDialog(1234); });
    EXPECT_EQ(dialog.DoModal(), 1234);
    EXPECT_EQ(dialog.StepsRun(), 2u);
    EXPECT_EQ(dialog.m_events, (std::vector<std::string>{"press", "notify 7", "cancel ignored"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the object is untied from the destroyed window";
}

TEST(CDialogTest, CancelAndOkEndTheRunOkOnlyWhenTheExchangeSucceeds) {
    Scripted<OuterDialog> cancelled;
    cancelled.AddStep([&] { cancelled.PostMessage(WM_COMMAND, IDCANCEL); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);

    Scripted<OuterDialog> dialog;
    HWND hFocusAfterFailure = nullptr;
    dialog.AddStep([&] { dialog.PostMessage(WM_COMMAND, IDOK); });  // edit empty: refused
    dialog.AddStep([&] {
        hFocusAfterFailure = ::GetFocus();
        ::SetWindowTextA(dialog.GetDlgItem(IDC_TEST_EDIT), "typed");
        dialog.PostMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.StepsRun(), 2u) << "the first OK must not end the dialog";
    EXPECT_EQ(dialog.m_events, std::vector<std::string>{"validation failed"});
    EXPECT_EQ(dialog.m_strText, "typed");
    EXPECT_NE(hFocusAfterFailure, nullptr);
}

TEST(CDialogTest, DefaultHandsTheMessageToTheDialogManager) {
    Scripted<OuterDialog> dialog;
    BOOL bIconic = FALSE;
    dialog.AddStep([&] { dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE); });
    dialog.AddStep([&] {
        bIconic = dialog.IsIconic();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(bIconic);
    EXPECT_EQ(dialog.m_events, std::vector<std::string>{"syscommand"});
}

TEST(CDialogTest, NotifyResultReachesTheSenderAndExceptionsStayInside) {
    Scripted<OuterDialog> dialog;
    LRESULT result = 0;
    dialog.AddStep([&] {
        NMHDR header{dialog.GetDlgItem(IDC_TEST_LIST), IDC_TEST_LIST, static_cast<UINT>(NM_CLICK)};
        result = dialog.SendMessage(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header));
        dialog.SendMessage(kThrow);
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(result, 42);
}

TEST(CDialogTest, OwnerKeepsReceivingPostedMessagesWhileANestedDialogRuns) {
    Scripted<OuterDialog> outer;
    Scripted<InnerDialog> inner(&outer);
    BOOL bOuterEnabledDuringInner = TRUE;
    std::vector<std::string> eventsSeenByInner;
    INT_PTR innerResult = 0;
    inner.AddStep([&] {
        bOuterEnabledDuringInner = ::IsWindowEnabled(outer.m_hWnd);
        // What a library thread does: post to the window behind the nested dialog.
        outer.PostMessage(kOuterNotify, 0, 1);
        outer.PostMessage(kOuterNotify, 0, 2);
    });
    inner.AddStep([&] {
        eventsSeenByInner = outer.m_events;
        inner.PostMessage(WM_COMMAND, IDOK);
    });
    outer.AddStep([&] { innerResult = inner.DoModal(); });
    BOOL bOuterEnabledAfter = FALSE;
    outer.AddStep([&] {
        bOuterEnabledAfter = ::IsWindowEnabled(outer.m_hWnd);
        outer.EndDialog(IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_FALSE(bOuterEnabledDuringInner);
    EXPECT_TRUE(bOuterEnabledAfter);
    EXPECT_EQ(eventsSeenByInner, (std::vector<std::string>{"notify 1", "notify 2"}));
}

TEST(CDialogTest, InputGoesAheadOfPostedMessagesEachKindInItsOrder) {
    Scripted<OuterDialog> dialog;
    std::vector<std::string> eventsBeforeNextStep;
    UINT nInputsQueued = 0;
    dialog.AddStep([&] {
        // Notifications posted as a library thread posts them, then a real
        // click on the button behind them, through the input queue.
        for (int i = 1; i <= 3; ++i)
            dialog.PostMessage(kOuterNotify, 0, i);
        RECT button{};
        ::GetWindowRect(dialog.GetDlgItem(IDC_TEST_BUTTON), &button);
        INPUT click[2] = {};
        for (INPUT& input : click) {
            input.type = INPUT_MOUSE;
            input.mi.dx =
                ((button.left + button.right) / 2) * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
            input.mi.dy =
                ((button.top + button.bottom) / 2) * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        }
        click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
        nInputsQueued = ::SendInput(2, click, sizeof(INPUT));
    });
    dialog.AddStep([&] {
        eventsBeforeNextStep = dialog.m_events;
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(nInputsQueued, 2u);
    EXPECT_EQ(eventsBeforeNextStep,
              (std::vector<std::string>{"press", "notify 1", "notify 2", "notify 3"}));
    EXPECT_EQ(dialog.m_events, eventsBeforeNextStep) << "each message dispatched once";
}

TEST(CDialogTest, EndDialogDuringInitialisationSkipsTheLoop) {
    class RefusingDialog : public CDialog {
    public:
        RefusingDialog() : CDialog(IDD_TEST_INNER) {}
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            EndDialog(IDCANCEL);
            return TRUE;
        }
    };
    RefusingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(CDialogTest, MissingTemplateGivesMinusOne) {
    CDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(CDialogTest, ApplicationMessageBoxBelongsToTheWindowInUse) {
    CWinApp app("Test");
    Scripted<OuterDialog> outer;
    Scripted<InnerDialog> inner(&outer);
    app.m_pMainWnd = &outer;
    harness::MessageBoxRecorder boxes;
    HWND hOuter = nullptr;
    HWND hInner = nullptr;
    inner.AddStep([&] {
        hInner = inner.m_hWnd;
        AfxMessageBox("from the nested dialog", MB_OK);
        inner.EndDialog(IDOK);
    });
    outer.AddStep([&] {
        hOuter = outer.m_hWnd;
        AfxMessageBox("from the main window", MB_OK);
        inner.DoModal();
        outer.EndDialog(IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    std::vector<HWND> owners;
    for (const harness::ShownBox& box : boxes.Boxes())
        owners.push_back(box.hOwner);
    // Owned by the disabled main window, the box would leave the nested
    // dialog usable behind it.
    EXPECT_EQ(owners, (std::vector<HWND>{hOuter, hInner}));
}
