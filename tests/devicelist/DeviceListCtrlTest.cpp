// CDeviceListCtrl on the real list view: typed sorting, the click rule,
// emptying, the per-row values, and new rows placed as the full sort places them.
#include "devicelist/SortRules.h"
#include "tests/common/SampleAnswer.h"
#include "tests/devicelist/ListHost.h"
#include "zova/ResponseRow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {
using Texts = std::vector<std::string>;

// Five devices in arrival order; each column holds the texts a sort must order.
const std::vector<Texts> kRows = {
    {"192.168.0.10", "255.255.255.0", "N/A", "On", "2.99.0", "IO-8", "02-6B-D4-0A-FF-01"},
    {"9.1.1.1", "255.0.0.0", "9.0.0.1", "Off", "1.10.2", "gateway", "00-10-00-00-00-02"},
    {"200.0.0.1", "255.255.0.0", "200.0.0.254", "N/A", "2.123.0", "IO-16", "A0-00-00-00-00-03"},
    {"10.0.0.1", "255.255.255.252", "10.0.0.2", "On", "1.09.0", "Relay", "02-6B-D4-0A-FF-00"},
    {"192.168.0.9", "255.255.255.0", "192.168.0.1", "Off", "3.00.65535", "IO-8",
     "0A-00-00-00-00-05"},
};

void AddRows(CDeviceListCtrl& list) {
    for (const Texts& row : kRows)
        list.AddRow(row.data(), row.size());
}
}  // namespace

TEST(DeviceListCtrlTest, SortsAddressesAsNumbersAndEverythingElseAsText) {
    struct Case {
        int nColumn;
        BOOL bAscending;
        Texts expected;
    };
    const Case cases[] = {
        {0, TRUE, {"9.1.1.1", "10.0.0.1", "192.168.0.9", "192.168.0.10", "200.0.0.1"}},
        {0, FALSE, {"200.0.0.1", "192.168.0.10", "192.168.0.9", "10.0.0.1", "9.1.1.1"}},
        {1,
         TRUE,
         {"255.0.0.0", "255.255.0.0", "255.255.255.0", "255.255.255.0", "255.255.255.252"}},
        {2, TRUE, {"9.0.0.1", "10.0.0.2", "192.168.0.1", "200.0.0.254", "N/A"}},
        {2, FALSE, {"N/A", "200.0.0.254", "192.168.0.1", "10.0.0.2", "9.0.0.1"}},
        {3, TRUE, {"N/A", "Off", "Off", "On", "On"}},
        {4, TRUE, {"1.09.0", "1.10.2", "2.123.0", "2.99.0", "3.00.65535"}},
        {4, FALSE, {"3.00.65535", "2.99.0", "2.123.0", "1.10.2", "1.09.0"}},
        {6,
         TRUE,
         {"00-10-00-00-00-02", "02-6B-D4-0A-FF-00", "02-6B-D4-0A-FF-01", "0A-00-00-00-00-05",
          "A0-00-00-00-00-03"}},
    };
    ScriptedListHost host;
    std::vector<Texts> sorted;
    host.AddStep([&] {
        host.m_list.InsertColumns(kMainColumns);
        AddRows(host.m_list);
        for (const Case& c : cases) {
            host.m_list.SortColumn(c.nColumn, c.bAscending);
            sorted.push_back(ColumnTexts(host.m_list, c.nColumn));
        }
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    ASSERT_EQ(sorted.size(), std::size(cases));
    for (std::size_t i = 0; i < sorted.size(); ++i)
        EXPECT_EQ(sorted[i], cases[i].expected)
            << "column " << cases[i].nColumn
            << (cases[i].bAscending ? " ascending" : " descending");
}

TEST(DeviceListCtrlTest, HeaderClicksFollowTheClickRuleFromStartUp) {
    struct Click {
        int nColumn;
        int nExpectedColumn;
        BOOL bExpectedAscending;
        const char* pszFirstRow;  // of the clicked column
    };
    const Click clicks[] = {
        {0, 0, FALSE, "200.0.0.1"},  // the list starts on IP ascending
        {6, 6, TRUE, "00-10-00-00-00-02"}, {6, 6, FALSE, "A0-00-00-00-00-03"},
        {6, 6, TRUE, "00-10-00-00-00-02"}, {4, 4, TRUE, "1.09.0"},
    };
    ScriptedListHost host;
    std::vector<std::string> outcomes;
    host.AddStep([&] {
        host.m_list.InsertColumns(kMainColumns);
        AddRows(host.m_list);
        for (const Click& click : clicks) {
            ClickHeaderItem(host.m_list.GetHeaderCtrl(), click.nColumn);
            outcomes.push_back(std::to_string(host.m_list.GetSortColumn()) +
                               (host.m_list.IsSortAscending() ? " up " : " down ") +
                               ColumnTexts(host.m_list, click.nColumn).front());
        }
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    ASSERT_EQ(outcomes.size(), std::size(clicks));
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        EXPECT_EQ(outcomes[i], std::to_string(clicks[i].nExpectedColumn) +
                                   (clicks[i].bExpectedAscending ? " up " : " down ") +
                                   clicks[i].pszFirstRow)
            << "click " << i + 1 << " on column " << clicks[i].nColumn;
}

TEST(DeviceListCtrlTest, RowValuesFollowTheirRowsAndEmptyingKeepsTheSort) {
    ScriptedListHost host;
    int nRowWithoutColumns = 0;
    BOOL bSetPastEnd = TRUE;
    DWORD dwFollowed = 0;
    int nRowsAfterEmptying = -1;
    int nSortColumnAfter = -1;
    BOOL bAscendingAfter = TRUE;
    host.AddStep([&] {
        nRowWithoutColumns = host.m_list.AddRow(kRows[0].data(), kRows[0].size());
        host.m_list.InsertColumns(kMainColumns);
        AddRows(host.m_list);
        bSetPastEnd = host.m_list.SetRowValue(host.m_list.GetItemCount(), 7);
        host.m_list.SetRowValue(0, 0xBEEF);  // the 192.168.0.10 row
        host.m_list.SortColumn(0, TRUE);
        dwFollowed = host.m_list.GetRowValue(3);  // where that row went
        host.m_list.SortColumn(5, FALSE);
        host.m_list.DeleteAllRows();
        host.m_list.DeleteAllRows();
        nRowsAfterEmptying = host.m_list.GetItemCount();
        nSortColumnAfter = host.m_list.GetSortColumn();
        bAscendingAfter = host.m_list.IsSortAscending();
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    EXPECT_EQ(nRowWithoutColumns, -1);
    EXPECT_FALSE(bSetPastEnd);
    EXPECT_EQ(dwFollowed, 0xBEEFu);
    EXPECT_EQ(nRowsAfterEmptying, 0);
    EXPECT_EQ(nSortColumnAfter, 5);
    EXPECT_FALSE(bAscendingAfter);
}

namespace {
constexpr int kTypeColumn = 5;

// Answers with ties in every column but MAC, and "N/A" in each, the first
// IP "N/A" after five addresses. Types are words and addresses, which rank
// together (words sort after addresses), until answer nUnrankedFrom; from
// there on come texts that read as addresses or sort before them, which do
// not.
std::vector<ZOVA_ModuleScanResponseType> TiedAnswers(int nCount, int nUnrankedFrom) {
    std::mt19937 random(3);
    const auto pick = [&](unsigned n) { return static_cast<std::uint8_t>(random() % n); };
    std::vector<ZOVA_ModuleScanResponseType> answers;
    for (int i = 0; i < nCount; ++i) {
        harness::SampleAnswer answer = harness::SampleAnswer::Bare(
            {0x02, 0x6B, 0xD4, pick(256), static_cast<std::uint8_t>(i >> 8),
             static_cast<std::uint8_t>(i)});
        if (i % 13 != 5)
            answer.Ip(0x0A000000u | pick(24));
        const std::uint32_t masks[] = {0xFFFFFF00u, 0xFF000000u, 0xFFFF0000u};
        if (pick(4) != 0)
            answer.Mask(masks[pick(3)]);
        if (i % 11 != 3)
            answer.Gateway(0x0A000001u | static_cast<std::uint32_t>(pick(9)) << 8);
        if (pick(4) != 0)
            answer.Dhcp(pick(2));
        if (pick(5) != 0)
            answer.Firmware(pick(3), pick(4), pick(2));
        const std::string k = std::to_string(pick(6));
        const bool bRanked = i < nUnrankedFrom;
        const std::string type =
            i % 2 ? k + (bRanked ? ".0.5.9" : ".0.5.9x") : (bRanked ? "Relay " : " type ") + k;
        answers.push_back(answer.Type(type.c_str()));
    }
    return answers;
}

// The full sorts the list asks of the list view (LVM_SORTITEMS), counted by
// a hook on the messages sent on this thread while the counter lives.
class FullSortCounter {
public:
    explicit FullSortCounter(HWND hList) {
        s_hList = hList;
        s_nSorts = 0;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~FullSortCounter() { ::UnhookWindowsHookEx(m_hHook); }
    FullSortCounter(const FullSortCounter&) = delete;
    FullSortCounter& operator=(const FullSortCounter&) = delete;
    int Sorts() const { return m_hHook ? s_nSorts : -1; }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        const auto* pSent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pSent->hwnd == s_hList && pSent->message == LVM_SORTITEMS)
            ++s_nSorts;
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline HWND s_hList = nullptr;
    static inline int s_nSorts = 0;
    HHOOK m_hHook = nullptr;
};

std::string MacOrder(HWND hList) {
    std::string macs;
    for (const std::string& text : ColumnTexts(hList, 6))
        macs += text + " ";
    return macs;
}
}  // namespace

// Placing a row after the last row it ties with gives what the full sort
// gives only if the list view's sort keeps tied rows in the order they had.
// Catches a sort that does not (an unstable one reorders ties among
// hundreds of rows): every column and direction, each sort starting from
// the order the one before left, against a stable sort of that order.
TEST(DeviceListCtrlTest, TheListViewsSortKeepsTiedRowsInTheirOrder) {
    const std::vector<ZOVA_ModuleScanResponseType> answers = TiedAnswers(400, 400);
    ScriptedListHost host;
    std::vector<std::string> listed, stable;
    host.AddStep([&] {
        host.m_list.InsertColumns(kMainColumns);
        for (const ZOVA_ModuleScanResponseType& answer : answers) {
            const zova::ResponseRow row = zova::BuildResponseRow(answer);
            host.m_list.AddRow(row.texts.data(), row.texts.size());
        }
        for (int nColumn = 0; nColumn < 7; ++nColumn) {
            for (const bool bAscending : {true, false}) {
                std::vector<std::pair<devicelist::CellKey, std::string>> rows;
                const Texts cells = ColumnTexts(host.m_list, nColumn);
                const Texts macs = ColumnTexts(host.m_list, 6);
                for (std::size_t i = 0; i < cells.size(); ++i)
                    rows.emplace_back(
                        devicelist::MakeCellKey(cells[i].c_str(), &CDeviceListCtrl::TextSortKey),
                        macs[i] + " ");
                std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
                    return devicelist::CompareCellKeys(a.first, b.first, bAscending) < 0;
                });
                stable.emplace_back();
                for (const auto& row : rows)
                    stable.back() += row.second;
                host.m_list.SortColumn(nColumn, bAscending ? TRUE : FALSE);
                listed.push_back(MacOrder(host.m_list));
            }
        }
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    ASSERT_EQ(listed.size(), 14u);
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i], stable[i])
            << "column " << i / 2 << (i % 2 ? " descending" : " ascending");
}

// A stored answer's row goes straight to the place a binary search finds
// where the column ranks its cells (ties allowed); else the list sorts all
// again. Both must leave every row where the full sort of the real list
// view leaves it, after every answer, in every column and direction: the
// same answers go through AddResponse, in one burst, with an answer without
// a MAC now and then (stored, no row), and their rows through AddRow and a
// full SortColumn as often. Catches a row placed one off, before or among
// its ties, or placed where the cells do not rank. Counting the full sorts
// of the burst catches the placement gone: none in a ranked column, one per
// stored answer in the type column from its first text that does not rank
// on.
TEST(DeviceListCtrlTest, PlacingEachStoredAnswerGivesWhatTheFullSortGives) {
    constexpr int kAnswers = 70;
    constexpr int kUnrankedFrom = kAnswers / 2;
    const std::vector<ZOVA_ModuleScanResponseType> answers = TiedAnswers(kAnswers, kUnrankedFrom);
    int nTypeSorts = 0;
    for (int i = kUnrankedFrom; i < kAnswers; ++i)
        nTypeSorts += i % 10 == 9 ? 2 : 1;
    ScriptedListHost host;
    std::vector<std::string> placed, sorted;
    std::vector<int> fullSorts, expectedFullSorts;
    host.AddStep([&] { host.m_list.InsertColumns(kMainColumns); });
    for (int nColumn = 0; nColumn < 7; ++nColumn) {
        for (const BOOL bAscending : {TRUE, FALSE}) {
            expectedFullSorts.push_back(nColumn == kTypeColumn ? nTypeSorts : 0);
            host.AddStep([&, nColumn, bAscending] {
                host.m_list.DeleteAllRows();
                host.m_list.SortColumn(nColumn, bAscending);
                const FullSortCounter counter(host.m_list);
                for (int i = 0; i < kAnswers; ++i) {
                    host.m_list.AddResponse(answers[i]);
                    if (i % 10 == 9) {
                        ZOVA_ModuleScanResponseType noMac = answers[i];
                        noMac.abMacAddr[0] = 0;
                        noMac.bMacAddrValid = 0;
                        host.m_list.AddResponse(noMac);
                    }
                    placed.push_back(MacOrder(host.m_list));
                }
                fullSorts.push_back(counter.Sorts());
            });
            host.AddStep([&, nColumn, bAscending] {
                host.m_list.DeleteAllRows();
                for (int i = 0; i < kAnswers; ++i) {
                    const zova::ResponseRow row = zova::BuildResponseRow(answers[i]);
                    host.m_list.AddRow(row.texts.data(), row.texts.size());
                    host.m_list.SortColumn(nColumn, bAscending);
                    // Where cells do not rank, sorting again may move rows.
                    if (i % 10 == 9)
                        host.m_list.SortColumn(nColumn, bAscending);
                    sorted.push_back(MacOrder(host.m_list));
                }
            });
        }
    }
    host.AddStep([&] { host.EndDialog(IDOK); });
    ASSERT_EQ(host.DoModal(), IDOK);
    EXPECT_EQ(fullSorts, expectedFullSorts) << "full sorts while answers arrive, by column and "
                                               "direction";
    ASSERT_EQ(placed.size(), sorted.size());
    int differing = 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (placed[i] != sorted[i] && ++differing <= 3)
            ADD_FAILURE() << "column " << i / kAnswers / 2
                          << (i / kAnswers % 2 ? " descending" : " ascending") << ", after answer "
                          << i % kAnswers << ":\n"
                          << placed[i] << "\n"
                          << sorted[i];
    }
    EXPECT_EQ(differing, 0);
}

namespace {
// A device that reports its MAC and IP; the last MAC byte and the last
// address byte tell the devices apart.
ZOVA_ModuleScanResponseType Answer(std::uint8_t bDevice, std::uint8_t bHost) {
    return harness::SampleAnswer::Bare({0x02, 0x6B, 0xD4, 0x00, 0x00, bDevice})
        .Ip(0x0A000000u | bHost);
}
}  // namespace

TEST(DeviceListCtrlTest, AnswersHandledBackToBackShowAtOnceAndTheListIsDrawnAfterThem) {
    constexpr int kDevices = 40;
    ScriptedListHost host;
    std::vector<int> countsAfterEachAnswer;
    std::vector<std::string> firstRows;
    SCROLLINFO scroll{sizeof scroll, SIF_RANGE};
    std::vector<std::string> addresses;
    host.AddStep([&] { host.m_list.InsertColumns(kMainColumns); });
    host.AddStep([&] {
        // A burst, as queued notifications are handled: later devices answer
        // with lower addresses, and one device answers twice.
        for (int i = 0; i < kDevices; ++i) {
            host.m_list.AddResponse(
                Answer(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(kDevices - i)));
            if (i == kDevices / 2)
                host.m_list.AddResponse(Answer(0, 200));
            countsAfterEachAnswer.push_back(host.m_list.GetItemCount());
            firstRows.push_back(ColumnTexts(host.m_list, 0).front());
        }
    });
    host.AddStep([&] {
        ::GetScrollInfo(host.m_list, SB_VERT, &scroll);
        addresses = ColumnTexts(host.m_list, 0);
        host.EndDialog(IDOK);
    });
    ASSERT_EQ(host.DoModal(), IDOK);
    ASSERT_EQ(countsAfterEachAnswer.size(), std::size_t{kDevices});
    for (int i = 0; i < kDevices; ++i) {
        EXPECT_EQ(countsAfterEachAnswer[i], i + 1) << "answer " << i;
        EXPECT_EQ(firstRows[i], "10.0.0." + std::to_string(kDevices - i))
            << "sorted after answer " << i;
    }
    EXPECT_EQ(scroll.nMax, kDevices - 1) << "the list laid out its rows once the burst was in";
    ASSERT_EQ(addresses.size(), std::size_t{kDevices});
    EXPECT_EQ(addresses.front(), "10.0.0.1");
    EXPECT_EQ(addresses.back(), "10.0.0.40");
}
