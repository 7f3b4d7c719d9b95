// CDeviceListCtrl on the real list view: typed sorting, the click rule,
// emptying, and the per-row values.
#include "tests/common/SampleAnswer.h"
#include "tests/devicelist/ListHost.h"
#include "zova/ResponseRow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
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

// Answers stored while the drawing is held are placed by binary search
// where the column ranks its cells and the row ties with none; else the list
// sorts all again. Both must leave every row where the full sort of the real
// list view leaves it, after every answer, in every column and direction:
// the same answers go through AddResponse, in one burst, with an answer
// without a MAC now and then (stored, no row, sorted again), and their rows
// through AddRow and a full SortColumn as often. Columns: distinct addresses
// with one "N/A" (placed all along), masks and DHCP states (ties),
// gateways until one repeats, distinct versions and MACs (placed by their
// sort keys), and types, addresses and words, until texts arrive that read
// as addresses or sort before them (not ranked). Catches a row placed one off or past a tie, and
// placing where the order was not the only one.
TEST(DeviceListCtrlTest, PlacingEachStoredAnswerGivesWhatTheFullSortGives) {
    constexpr int kAnswers = 70;
    std::mt19937 random(3);
    std::vector<ZOVA_ModuleScanResponseType> answers;
    for (int i = 0; i < kAnswers; ++i) {
        ZOVA_ModuleScanResponseType a{};
        const std::uint8_t abMac[6] = {0x02,
                                       0x6B,
                                       0xD4,
                                       static_cast<std::uint8_t>(random()),
                                       static_cast<std::uint8_t>(i),
                                       static_cast<std::uint8_t>(i)};
        std::memcpy(a.abMacAddr, abMac, sizeof abMac);
        a.bMacAddrValid = 1;
        a.dwIpAddr = (random() & 0xFFFF00FFu) | (static_cast<std::uint32_t>(i) << 8);
        a.bIpAddrValid = i != kAnswers / 3;
        const std::uint32_t masks[] = {0xFFFFFF00u, 0xFF000000u, 0xFFFF0000u};
        a.dwSubnetMask = masks[random() % 3];
        a.bSubnetMaskValid = random() % 4 != 0;
        a.dwGateway = i == kAnswers / 2 ? 0x0A000A01u : 0x0A000001u | (i << 8);
        a.bGatewayValid = 1;
        a.bDhcpOn = random() % 2;
        a.bDhcpValid = random() % 4 != 0;
        a.bFwVersionMajor = static_cast<std::uint8_t>(random() % 3);
        a.bFwVersionMinor = static_cast<std::uint8_t>(i);
        a.wFwBuild = static_cast<std::uint16_t>(random());
        a.bFwVersionValid = 1;
        // Half-way, texts arrive that read as addresses, or sort before them.
        const std::string n = std::to_string(i < kAnswers / 2 ? i : random() % 99);
        const std::string type = i < kAnswers / 2 ? (i % 2 ? n + ".0.5.9" : "Relay " + n)
                                                  : (i % 2 ? n + ".0.5.9x" : " type " + n);
        std::strcpy(a.szType, type.c_str());
        a.bTypeValid = 1;
        answers.push_back(a);
    }
    ScriptedListHost host;
    std::vector<std::string> placed, sorted;
    const auto order = [&](std::vector<std::string>& into) {
        std::string macs;
        for (const std::string& text : ColumnTexts(host.m_list, 6))
            macs += text + " ";
        into.push_back(macs);
    };
    host.AddStep([&] { host.m_list.InsertColumns(kMainColumns); });
    for (int nColumn = 0; nColumn < 7; ++nColumn) {
        for (const BOOL bAscending : {TRUE, FALSE}) {
            host.AddStep([&, nColumn, bAscending] {
                host.m_list.DeleteAllRows();
                host.m_list.SortColumn(nColumn, bAscending);
                for (int i = 0; i < kAnswers; ++i) {
                    host.m_list.AddResponse(answers[i]);
                    if (i % 10 == 9) {
                        ZOVA_ModuleScanResponseType noMac = answers[i];
                        noMac.abMacAddr[0] = 0;
                        noMac.bMacAddrValid = 0;
                        host.m_list.AddResponse(noMac);
                    }
                    order(placed);
                }
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
                    order(sorted);
                }
            });
        }
    }
    host.AddStep([&] { host.EndDialog(IDOK); });
    ASSERT_EQ(host.DoModal(), IDOK);
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
