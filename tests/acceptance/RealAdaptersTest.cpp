// The tool on real adapters: run by real-adapters.sh inside a host namespace
// with two veth adapters, each leading to a device namespace where a
// simulator plays devices on the device port. The tool runs without
// ZOVA_TARGET, so its library broadcasts out of both adapters; devices whose
// own subnet does not hold the adapter's address answer by broadcast.
#include <winsock2.h>  // before windows.h, which the headers below bring

#include "res/Resource.h"
#include "tests/common/SimulatorProcess.h"
#include "tests/common/ToolProcess.h"
#include "tests/common/UserInput.h"
#include "tools/ToolWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace harness;

// The fleets real-adapters.sh gives the two device namespaces.
const char* const kNearA = "02-6B-D4-20-00-01";  // 10.201.1.10/24, on adapter A's subnet
const char* const kFarA = "02-6B-D4-20-00-02";   // 192.168.77.20/24, behind adapter A
const char* const kNearB = "02-6B-D4-20-00-03";  // 10.202.1.10/24, on adapter B's subnet
const char* const kFarB = "02-6B-D4-20-00-04";   // 172.16.5.5/16, behind adapter B

// A simulator's request log, read while it runs.
class Log {
public:
    explicit Log(const char* variable) {
        const char* path = std::getenv(variable);
        path_ = path ? path : "";
    }
    bool Known() const { return !path_.empty(); }
    std::string Text() const {
        std::ifstream in(path_);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::vector<std::string> LinesWith(const std::vector<std::string>& fragments) const {
        std::vector<std::string> found;
        std::istringstream lines(Text());
        for (std::string line; std::getline(lines, line);) {
            bool all = true;
            for (const std::string& fragment : fragments)
                all = all && line.find(fragment) != std::string::npos;
            if (all)
                found.push_back(line);
        }
        return found;
    }
    bool WaitFor(const std::vector<std::string>& fragments) const {
        return WaitUntil([&] { return !LinesWith(fragments).empty(); }, std::chrono::seconds(30));
    }

private:
    std::string path_;
};

std::string RowsText(const Rows& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (const auto& cell : row)
            text += cell + " | ";
        text += "\n";
    }
    return text;
}

// Each MAC once, and mac's row showing ip.
bool ListedOnceEach(const Rows& rows, const std::vector<std::pair<std::string, std::string>>& ips) {
    std::set<std::string> macs;
    for (const auto& row : rows)
        macs.insert(row[6]);
    if (macs.size() != rows.size() || rows.size() != ips.size())
        return false;
    for (const auto& [mac, ip] : ips) {
        const int nRow = RowOf(rows, mac);
        if (nRow < 0 || rows[nRow][0] != ip)
            return false;
    }
    return true;
}

TEST(RealAdapters, BroadcastScanConfigureAcrossSubnetsAndWink) {
    const Log logA("VANTREL_REALNET_LOG_A");
    const Log logB("VANTREL_REALNET_LOG_B");
    ASSERT_TRUE(logA.Known() && logB.Known()) << "run this test through real-adapters.sh";

    ToolProcess tool("");  // no ZOVA_TARGET: the library broadcasts
    ASSERT_TRUE(tool.Started()) << "VantrelConfig.exe did not start (VANTREL_NETNS set?)";
    const HWND hMain = tool.MainWindow();
    ASSERT_NE(hMain, nullptr) << "the main window never showed";

    // The start-up scan: every device once, the foreign ones through their broadcasts.
    std::vector<std::pair<std::string, std::string>> expected = {
        {kNearA, "10.201.1.10"},
        {kFarA, "192.168.77.20"},
        {kNearB, "10.202.1.10"},
        {kFarB, "172.16.5.5"},
    };
    ASSERT_TRUE(tool.WaitForRows(4)) << RowsText(tool.ReadRows()) << logA.Text() << logB.Text();
    EXPECT_TRUE(ListedOnceEach(tool.ReadRows(), expected)) << RowsText(tool.ReadRows());
    // Each adapter's scan reached its own link only, and one answer there was a broadcast.
    EXPECT_FALSE(logA.LinesWith({"\"scan\"", "\"from\":\"10.201.1.1:", "\"broadcast\":1"}).empty())
        << logA.Text();
    EXPECT_FALSE(logB.LinesWith({"\"scan\"", "\"from\":\"10.202.1.1:", "\"broadcast\":1"}).empty())
        << logB.Text();
    EXPECT_TRUE(logA.LinesWith({"10.202.1.1:"}).empty()) << logA.Text();
    EXPECT_TRUE(logB.LinesWith({"10.201.1.1:"}).empty()) << logB.Text();

    // The device behind adapter A is moved into A's subnet.
    const HWND hList = ::GetDlgItem(hMain, IDC_DEVICE_LIST);
    // A point inside mac's row, in the list's client coordinates.
    const auto rowPoint = [&](const char* mac, POINT& point) {
        const int nRow = RowOf(tool.ReadRows(), mac);
        RECT rect{};
        if (nRow < 0 || !tools::ReadRowRect(hMain, nRow, rect))
            return false;
        point = POINT{rect.left + 30, (rect.top + rect.bottom) / 2};
        return true;
    };
    POINT point{};
    ASSERT_TRUE(rowPoint(kFarA, point));
    DoubleClickAt(hList, point);
    const HWND hDlg = tool.WaitForDialog("Configure: " + std::string(kFarA));
    ASSERT_NE(hDlg, nullptr) << "no configure dialog";
    const int newAddress[] = {10, 201, 1, 30};
    for (int nField = 0; nField < 4; ++nField)
        TypeIntoAddressField(::GetDlgItem(hDlg, IDC_IP_ADDRESS), nField, newAddress[nField]);
    ClickItem(hDlg, IDOK);
    ASSERT_TRUE(logA.WaitFor({"\"configure\"", kFarA, "\"accepted\"", "\"ip\":\"10.201.1.30\""}))
        << logA.Text();
    EXPECT_TRUE(logB.LinesWith({"\"configure\"", "\"accepted\""}).empty()) << logB.Text();

    // The accepted result makes the tool scan again: the device shows its new address.
    expected[1].second = "10.201.1.30";
    EXPECT_TRUE(WaitUntil([&] { return ListedOnceEach(tool.ReadRows(), expected); },
                          std::chrono::seconds(30)))
        << RowsText(tool.ReadRows()) << logA.Text();

    // A wink for the foreign device behind B reaches it, and only it.
    ASSERT_TRUE(rowPoint(kFarB, point));
    ClickAt(hList, point);
    ClickItem(hMain, IDC_WINK);
    EXPECT_TRUE(logB.WaitFor({"\"wink\"", kFarB, "\"winked\""})) << logB.Text();
    EXPECT_TRUE(logA.LinesWith({"\"winked\""}).empty()) << logA.Text();
    EXPECT_TRUE(tool.OtherDialogs().empty());

    ::PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(tool.WaitForExit());
}

}  // namespace
