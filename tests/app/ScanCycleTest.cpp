// The scan cycle: library notifications turned into rows of the real list.
#include "res/Resource.h"
#include "tests/common/MainDialogDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using harness::ListRows;
using harness::MainDialogTest;
using harness::SampleAnswer;
using harness::ScriptedMainDlg;
using Rows = std::vector<std::vector<std::string>>;

void QueueAndNotify(ScriptedMainDlg& dialog, const ZOVA_ModuleScanResponseType& response) {
    ZovaDouble_QueueResponse(&response);
    dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESPONSE);
}

TEST_F(MainDialogTest, AnswersBecomeSortedRowsFirstAnswerOfADeviceWins) {
    ScriptedMainDlg dialog;
    Rows rows;
    std::size_t nStored = 0;
    int nIpFormat = 0;
    LRESULT emptyResult = -1;
    dialog.AddStep([&] {
        QueueAndNotify(dialog, SampleAnswer(0x03, 0xC0A8000Au));  // 192.168.0.10
        QueueAndNotify(dialog, SampleAnswer(0x01, 0x09010101u));  // 9.1.1.1
        ZOVA_ModuleScanResponseType changed = SampleAnswer(0x03, 0x01020304u);
        QueueAndNotify(dialog, changed);                          // same MAC again: dropped
        QueueAndNotify(dialog, SampleAnswer(0x02, 0xC8000001u));  // 200.0.0.1
        emptyResult = dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESPONSE);
        rows = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST));
        nStored = dialog.m_listDevices.GetResponses().size();
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        ::SendMessageA(dialog.m_listDevices.GetHeaderCtrl(), HDM_GETITEMA, 0,
                       reinterpret_cast<LPARAM>(&item));
        nIpFormat = item.fmt;
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(nIpFormat & HDF_OWNERDRAW) << "the indicator shows from the first stored answer on";
    EXPECT_EQ(emptyResult, 0) << "no answer waiting";
    EXPECT_EQ(nStored, 3u);
    EXPECT_EQ(rows, (Rows{
                        {"9.1.1.1", "255.255.255.0", "192.168.0.1", "On", "1.05.12", "IO-8",
                         "02-6B-D4-0A-FF-01"},
                        {"192.168.0.10", "255.255.255.0", "192.168.0.1", "On", "1.05.12", "IO-8",
                         "02-6B-D4-0A-FF-03"},
                        {"200.0.0.1", "255.255.255.0", "192.168.0.1", "On", "1.05.12", "IO-8",
                         "02-6B-D4-0A-FF-02"},
                    }));
}

TEST_F(MainDialogTest, UnreportedValuesShowNaAndAnAnswerWithoutValidMacIsStoredButNotShown) {
    ScriptedMainDlg dialog;
    Rows rows;
    std::size_t nStored = 0;
    dialog.AddStep([&] {
        ZOVA_ModuleScanResponseType sparse{};
        sparse.abMacAddr[5] = 0x20;
        sparse.bMacAddrValid = 1;
        sparse.bDhcpOn = 1;                                     // not valid: still "N/A"
        std::memset(sparse.szType, 'T', sizeof sparse.szType);  // no terminator in the field
        sparse.bTypeValid = 1;
        QueueAndNotify(dialog, sparse);

        ZOVA_ModuleScanResponseType noMac = SampleAnswer(0x30, 0x0A000001u);
        noMac.bMacAddrValid = 0;
        QueueAndNotify(dialog, noMac);
        ZOVA_ModuleScanResponseType sameMacAsHidden = SampleAnswer(0x30, 0x0A000002u);
        QueueAndNotify(dialog, sameMacAsHidden);  // a duplicate of the hidden one

        QueueAndNotify(dialog, SampleAnswer(0x40, 0x0A000003u).Dhcp(2).Firmware(3, 0, 65535));
        rows = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST));
        nStored = dialog.m_listDevices.GetResponses().size();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(nStored, 3u);
    EXPECT_EQ(rows,
              (Rows{
                  {"10.0.0.3", "255.255.255.0", "192.168.0.1", "Off", "3.00.65535", "IO-8",
                   "02-6B-D4-0A-FF-40"},
                  {"N/A", "N/A", "N/A", "N/A", "N/A", std::string(128, 'T'), "00-00-00-00-00-20"},
              }));
}

TEST_F(MainDialogTest, CallbackFromALibraryThreadIsHandledOnTheDialogsThread) {
    ScriptedMainDlg dialog;
    std::size_t nRowsBefore = 99;
    std::size_t nRowsAfter = 0;
    dialog.AddStep([&] {
        const ZOVA_ModuleScanResponseType response = SampleAnswer(0x01, 0x0A000001u);
        ZovaDouble_QueueResponse(&response);
        ZovaDouble_Notify(ZOVA_NOTIFY_RESPONSE, 1);
        nRowsBefore = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST)).size();  // only posted so far
    });
    dialog.AddStep([&] {
        nRowsAfter = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST)).size();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(nRowsBefore, 0u);
    EXPECT_EQ(nRowsAfter, 1u);
}

// Refuses the next posts it is told to, as Windows does once the window's
// queue holds its quota; posts the rest.
std::atomic<int> g_nPostsToRefuse{0};
BOOL WINAPI RefusingPost(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_nPostsToRefuse.load() > 0) {
        g_nPostsToRefuse.fetch_sub(1);
        ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    return ::PostMessageA(hWnd, message, wParam, lParam);
}

// Handles the dialog's messages, timers included, until done() holds; at
// most 10 s.
void PumpUntil(const std::function<bool()>& done) {
    const DWORD dwStart = ::GetTickCount();
    while (!done() && ::GetTickCount() - dwStart < 10000) {
        MSG message;
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        else
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// Catches a notification whose post was refused forgotten, with its answer
// left in the library's queue for good; a post refused again when made
// again forgotten; and more or fewer fetches than notifications. Three
// answers from the library's thread, whose first two posts are refused and
// so is the first post made again; then a refused rescan.
TEST_F(MainDialogTest, NotificationsWhosePostWasRefusedArePostedAgain) {
    struct PostGuard {
        PostGuard() { SetNotifyPostForTesting(&RefusingPost); }
        ~PostGuard() { SetNotifyPostForTesting(nullptr); }
    } guard;
    ScriptedMainDlg dialog;
    HWND hList = nullptr;
    std::size_t nRowsPosted = 0;
    std::size_t nRowsLater = 0;
    int nFetches = 0;
    bool bRescanned = false;
    const auto calls = [] {
        std::vector<std::string> names;
        for (int i = 0; i < ZovaDouble_CallCount(); ++i)
            names.emplace_back(ZovaDouble_CallName(i));
        return names;
    };
    dialog.AddStep([&] {
        hList = dialog.GetDlgItem(IDC_DEVICE_LIST);
        g_nPostsToRefuse = 2;
        for (std::uint8_t bDevice = 1; bDevice <= 3; ++bDevice) {
            const ZOVA_ModuleScanResponseType answer = SampleAnswer(bDevice, 0x0A000000u | bDevice);
            ZovaDouble_QueueResponse(&answer);
            ZovaDouble_Notify(ZOVA_NOTIFY_RESPONSE, 1);
        }
        g_nPostsToRefuse = 1;  // the first post made again
    });
    dialog.AddStep([&] {
        // Only the third post was taken; the timer comes after posted messages.
        nRowsPosted = ListRows(hList).size();
        PumpUntil([&] { return ListRows(hList).size() == 3; });
        nRowsLater = ListRows(hList).size();
        const std::vector<std::string> names = calls();
        nFetches = static_cast<int>(std::count(names.begin(), names.end(), "GetResponse"));

        g_nPostsToRefuse = 1;
        const std::size_t nCallsBefore = names.size();
        ZovaDouble_Notify(ZOVA_NOTIFY_RESCAN, 1);
        PumpUntil([&] { return calls().size() > nCallsBefore + 1; });
        bRescanned = calls().back() == "SendModuleScan" && ListRows(hList).empty();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(nRowsPosted, 1u);
    EXPECT_EQ(nRowsLater, 3u);
    EXPECT_EQ(nFetches, 3) << "one fetch per notification";
    EXPECT_TRUE(bRescanned);
}

TEST_F(MainDialogTest, ScanAndRescanEmptyTheListAndForgetStoredAnswers) {
    const unsigned char abConfigured[6] = {0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01};
    const unsigned char abOther[6] = {0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x09};
    struct Case {
        const char* pszName;
        const unsigned char* pabRejected;  // front of the rejected-password queue, or null
        bool bByButton;
        std::vector<std::string> expectedCalls;
        int nRejectedLeft;
    };
    const Case cases[] = {
        {"Scan button", nullptr, true, {"SendModuleScan"}, 0},
        {"rescan, queue empty", nullptr, false, {"GetInvPswdMacId", "SendModuleScan"}, 0},
        {"rescan, configured device rejected",
         abConfigured,
         false,
         {"GetInvPswdMacId", "RemoveFirstInvPswdMacId", "SendModuleScan"},
         0},
        {"rescan, another device rejected",
         abOther,
         false,
         {"GetInvPswdMacId", "SendModuleScan"},
         1},
    };
    for (const Case& c : cases) {
        ZovaDouble_Reset();
        ScriptedMainDlg dialog;
        std::vector<std::string> calls;
        std::size_t nRowsAfter = 99;
        std::size_t nRowsAgain = 0;
        dialog.AddStep([&] {
            dialog.m_listDevices.SetConfiguredMac(abConfigured);
            QueueAndNotify(dialog, SampleAnswer(0x01, 0x0A000001u));
            if (c.pabRejected)
                ZovaDouble_QueueRejectedMac(c.pabRejected);
            const int nCallsBefore = ZovaDouble_CallCount();
            if (c.bByButton)
                ::SendMessageA(dialog.GetDlgItem(IDC_SCAN), BM_CLICK, 0, 0);
            else
                dialog.SendMessage(WM_ZOVA_NOTIFY, 0, ZOVA_NOTIFY_RESCAN);
            for (int i = nCallsBefore; i < ZovaDouble_CallCount(); ++i)
                calls.emplace_back(ZovaDouble_CallName(i));
            nRowsAfter = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST)).size();
            QueueAndNotify(dialog, SampleAnswer(0x01, 0x0A000001u));  // known again after emptying
            nRowsAgain = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST)).size();
            dialog.EndDialog(IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK) << c.pszName;
        EXPECT_EQ(calls, c.expectedCalls) << c.pszName;
        EXPECT_EQ(nRowsAfter, 0u) << c.pszName;
        EXPECT_EQ(nRowsAgain, 1u) << c.pszName;
        EXPECT_EQ(ZovaDouble_RejectedMacCount(), c.nRejectedLeft) << c.pszName;
    }
}

TEST_F(MainDialogTest, InvalidPasswordIsToldOnlyForTheLastConfiguredDevice) {
    const unsigned char abConfigured[6] = {0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x01};
    const unsigned char abOther[6] = {0x02, 0x6B, 0xD4, 0x0A, 0xFF, 0x09};
    ScriptedMainDlg dialog;
    HWND hDialog = nullptr;
    std::vector<std::size_t> boxCounts;
    std::vector<int> queueLengths;
    std::vector<LRESULT> results;
    auto notify = [&](LPARAM value) {
        results.push_back(dialog.SendMessage(WM_ZOVA_NOTIFY, 0, value));
        boxCounts.push_back(m_boxes.Boxes().size());
        queueLengths.push_back(ZovaDouble_RejectedMacCount());
    };
    dialog.AddStep([&] {
        hDialog = dialog.m_hWnd;
        ZovaDouble_QueueRejectedMac(abOther);
        notify(ZOVA_NOTIFY_INVALID_PASSWORD);  // before any configure request: nothing
        dialog.m_listDevices.SetConfiguredMac(abConfigured);
        notify(ZOVA_NOTIFY_INVALID_PASSWORD);  // front is another device: it stays
        ZovaDouble_Reset();
        ZovaDouble_QueueRejectedMac(abConfigured);
        notify(ZOVA_NOTIFY_INVALID_PASSWORD);  // told once, entry gone
        notify(ZOVA_NOTIFY_INVALID_PASSWORD);  // queue empty: nothing
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(results, (std::vector<LRESULT>{1, 1, 1, 1}));
    EXPECT_EQ(boxCounts, (std::vector<std::size_t>{0, 0, 1, 1}));
    EXPECT_EQ(queueLengths, (std::vector<int>{1, 1, 0, 0}));
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].strText, "Invalid password");
    EXPECT_EQ(m_boxes.Boxes()[0].strCaption, "Warning");
    EXPECT_EQ(m_boxes.Boxes()[0].nType, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(m_boxes.Boxes()[0].hOwner, hDialog);
}

TEST_F(MainDialogTest, OtherNotificationValuesChangeNothing) {
    ScriptedMainDlg dialog;
    std::vector<LRESULT> results;
    int nCallsBefore = 0;
    int nCallsAfter = 0;
    std::size_t nRows = 0;
    dialog.AddStep([&] {
        QueueAndNotify(dialog, SampleAnswer(0x01, 0x0A000001u));
        nCallsBefore = ZovaDouble_CallCount();
        for (LPARAM value : {0, 4, -1, 0x10001})
            results.push_back(dialog.SendMessage(WM_ZOVA_NOTIFY, 0, value));
        nCallsAfter = ZovaDouble_CallCount();
        nRows = ListRows(dialog.GetDlgItem(IDC_DEVICE_LIST)).size();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(results, (std::vector<LRESULT>{1, 1, 1, 1}));
    EXPECT_EQ(nCallsAfter, nCallsBefore);
    EXPECT_EQ(nRows, 1u);
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

}  // namespace
