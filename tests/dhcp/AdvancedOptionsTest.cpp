// "Advanced Options" on the real main dialog: the server switched on and off
// through the real Advanced Settings dialog, its worker, its socket. Run only
// through in-netns.sh: the server binds port 67 and broadcasts.
#include "res/Resource.h"
#include "tests/common/MainDialogDriver.h"
#include "tests/common/NestedDialog.h"

#include <tlhelp32.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

namespace {

using harness::MainDialogTest;
using harness::ScriptedMainDlg;
using harness::ShownBox;

int ThreadCount() {
    int nThreads = 0;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{sizeof entry};
    for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore;
         bMore = ::Thread32Next(hSnapshot, &entry))
        nThreads += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(hSnapshot);
    return nThreads;
}

// True when port 67 is free: a server of our own can take it.
bool PortFree() {
    CDhcpServer probe;
    const bool bFree = probe.Init();
    probe.Cleanup();
    return bFree;
}

class AdvancedOptionsTest : public MainDialogTest {
protected:
    void SetUp() override {
        if (!std::getenv("VANTREL_NETNS"))
            GTEST_SKIP() << "needs a network namespace of its own (in-netns.sh)";
        MainDialogTest::SetUp();
        ASSERT_TRUE(dhcp::Startup());
        m_client = dhcp::Open();
        ASSERT_NE(m_client, dhcp::kNoSocket);
        ASSERT_TRUE(dhcp::EnableBroadcast(m_client));
        ASSERT_TRUE(dhcp::BindAny(m_client, 68));
        dhcp::SetNonBlocking(m_client);
    }
    void TearDown() override {
        if (m_client != dhcp::kNoSocket) {
            dhcp::Close(m_client);
            dhcp::Shutdown();
        }
        MainDialogTest::TearDown();
    }

    // Opens Advanced Settings from the main dialog, notes whether the box
    // shows checked, sets it (when given) and closes with nButton.
    void Advanced(ScriptedMainDlg& dlg, std::optional<bool> setBox, UINT nButton,
                  bool* pShownChecked = nullptr) {
        dlg.AddStep([&dlg] {
            dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_ADVANCED, BN_CLICKED),
                            reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_ADVANCED)));
        });
        dlg.AddStep([setBox, nButton, pShownChecked] {
            HWND h = harness::FindThreadDialog("Advanced Settings");
            ASSERT_NE(h, nullptr) << "Advanced Settings is not open";
            HWND hBox = ::GetDlgItem(h, IDC_ENABLE_DHCP_SERVER);
            if (pShownChecked)
                *pShownChecked = ::SendMessageA(hBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (setBox)
                ::SendMessageA(hBox, BM_SETCHECK, *setBox ? BST_CHECKED : BST_UNCHECKED, 0);
            ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), 0);
        });
    }

    // Broadcasts a DHCPDISCOVER from a supported client and says whether an
    // offer came back within a second (twenty of the worker's pauses).
    bool Answered() {
        std::uint8_t discover[300] = {1, 1, 6, 0, 0x77, ++m_nXid};
        const std::uint8_t abMac[6] = {0x02, 0x6B, 0xD4, 0x00, 0x00, 0x09};
        std::memcpy(discover + 28, abMac, 6);
        const std::uint8_t options[] = {99, 130, 83, 99, 53, 1, 1, 255};
        std::memcpy(discover + 236, options, sizeof options);
        dhcp::SendBroadcast(m_client, discover, sizeof discover, 67);
        for (int i = 0; i < 100; ++i) {
            std::uint8_t reply[2048];
            const int n = dhcp::Receive(m_client, reply, sizeof reply);
            if (n == 300 && reply[5] == m_nXid && reply[242] == 2)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::size_t InitFailedBoxes() const {
        std::size_t n = 0;
        for (const ShownBox& box : m_boxes.Boxes())
            n += box.strText == "DHCP server init failed" && box.nType == MB_OK;
        return n;
    }

    dhcp::Handle m_client = dhcp::kNoSocket;
    std::uint8_t m_nXid = 0;
};

TEST_F(AdvancedOptionsTest, CancelAndUnchangedOkChangeNothing) {
    ScriptedMainDlg dlg;
    struct Seen {
        bool bShownChecked = false, bAnswered = false, bPortFree = false;
        int nThreads = 0;
    };
    Seen seen[5];
    int nThreadsOff = 0;
    const auto look = [&](Seen& s) {
        dlg.AddStep([&] {
            s.bAnswered = Answered();
            s.bPortFree = PortFree();
            s.nThreads = ThreadCount();
        });
    };
    dlg.AddStep([&] { nThreadsOff = ThreadCount(); });
    Advanced(dlg, true, IDCANCEL, &seen[0].bShownChecked);
    look(seen[0]);
    Advanced(dlg, std::nullopt, IDOK, &seen[1].bShownChecked);
    look(seen[1]);
    Advanced(dlg, true, IDOK, &seen[2].bShownChecked);
    look(seen[2]);
    Advanced(dlg, false, IDCANCEL, &seen[3].bShownChecked);
    look(seen[3]);
    Advanced(dlg, std::nullopt, IDOK, &seen[4].bShownChecked);
    look(seen[4]);
    Advanced(dlg, false, IDOK);
    dlg.AddStep([&] { dlg.EndDialog(IDOK); });
    dlg.DoModal();

    const char* names[] = {"check + Cancel while off", "OK unchanged while off", "check + OK",
                           "clear + Cancel while serving", "OK unchanged while serving"};
    const bool bServing[] = {false, false, true, true, true};
    const bool bShown[] = {false, false, false, true, true};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(seen[i].bShownChecked, bShown[i]);
        EXPECT_EQ(seen[i].bAnswered, bServing[i]);
        EXPECT_EQ(seen[i].bPortFree, !bServing[i]);
        // One worker while serving, never a second one.
        EXPECT_EQ(seen[i].nThreads, nThreadsOff + (bServing[i] ? 1 : 0));
    }
    EXPECT_EQ(InitFailedBoxes(), 0u);
}

TEST_F(AdvancedOptionsTest, PortTakenShowsInitFailedAndTheWorkerAnswersNothing) {
    CDhcpServer other;  // another DHCP server holding the port, not answering
    ASSERT_TRUE(other.Init());
    ScriptedMainDlg dlg;
    bool bShownChecked = false, bAnswered = true, bAnsweredAfterRetry = false;
    std::size_t nBoxes = 0;
    int nThreadsOff = 0, nThreadsOn = 0;
    dlg.AddStep([&] { nThreadsOff = ThreadCount(); });
    Advanced(dlg, true, IDOK);
    dlg.AddStep([&] {
        nBoxes = InitFailedBoxes();
        bAnswered = Answered();
        nThreadsOn = ThreadCount();
    });
    Advanced(dlg, std::nullopt, IDOK, &bShownChecked);
    // The user retries once the port is free: off, then on again.
    Advanced(dlg, false, IDOK);
    dlg.AddStep([&] { other.Cleanup(); });
    Advanced(dlg, true, IDOK);
    dlg.AddStep([&] { bAnsweredAfterRetry = Answered(); });
    Advanced(dlg, false, IDOK);
    dlg.AddStep([&] { dlg.EndDialog(IDOK); });
    dlg.DoModal();
    other.Cleanup();

    EXPECT_EQ(nBoxes, 1u);
    EXPECT_EQ(InitFailedBoxes(), 1u);
    EXPECT_TRUE(bShownChecked);
    EXPECT_FALSE(bAnswered);
    EXPECT_EQ(nThreadsOn, nThreadsOff + 1) << "the worker runs without a socket";
    EXPECT_TRUE(bAnsweredAfterRetry);
}

TEST_F(AdvancedOptionsTest, SwitchingOffStopsTheWorkerAndNothingIsSentAfterwards) {
    ScriptedMainDlg dlg;
    bool bAnsweredOn = false, bAnsweredOff = true, bPortFree = false;
    int nThreadsOff = 0, nThreadsAfter = 0;
    dlg.AddStep([&] { nThreadsOff = ThreadCount(); });
    Advanced(dlg, true, IDOK);
    dlg.AddStep([&] { bAnsweredOn = Answered(); });
    Advanced(dlg, false, IDOK);
    // The very next message after the handler returned: the worker is gone
    // and the socket closed already.
    dlg.AddStep([&] {
        nThreadsAfter = ThreadCount();
        bPortFree = PortFree();
        bAnsweredOff = Answered();
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_TRUE(bAnsweredOn);
    EXPECT_EQ(nThreadsAfter, nThreadsOff);
    EXPECT_TRUE(bPortFree);
    EXPECT_FALSE(bAnsweredOff);
}

TEST_F(AdvancedOptionsTest, ClosingTheToolWhileServingLeavesNoWorkerAndNoSocket) {
    int nThreadsOff = 0, nThreadsOn = 0;
    bool bAnsweredOn = false;
    {
        ScriptedMainDlg dlg;
        dlg.AddStep([&] { nThreadsOff = ThreadCount(); });
        Advanced(dlg, true, IDOK);
        dlg.AddStep([&] {
            bAnsweredOn = Answered();
            nThreadsOn = ThreadCount();
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }
    EXPECT_TRUE(bAnsweredOn);
    EXPECT_EQ(nThreadsOn, nThreadsOff + 1);
    EXPECT_LE(ThreadCount(), nThreadsOff);
    EXPECT_TRUE(PortFree());
    EXPECT_FALSE(Answered());
}

}  // namespace
