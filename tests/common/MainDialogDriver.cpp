#include "tests/common/MainDialogDriver.h"

#include "framework/WinApp.h"
#include "tests/common/WindowText.h"

#include <commctrl.h>

#include <cstring>

namespace harness {
namespace {
// The dialog loads its icon through the application object.
CWinApp g_testApp("VantrelConfig");
}  // namespace

void MainDialogTest::SetUp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    ZovaDouble_Reset();
    m_boxes.Clear();
}

void MainDialogTest::TearDown() {
    ZovaDouble_Reset();
}

std::vector<std::string> MainDialogTest::LibraryCalls() const {
    std::vector<std::string> calls;
    for (int i = 0; i < ZovaDouble_CallCount(); ++i)
        calls.emplace_back(ZovaDouble_CallName(i));
    return calls;
}

std::vector<std::vector<std::string>> ListRows(HWND hList) {
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    const int nColumns = static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0));
    const int nRows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::string>> rows;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::vector<std::string> row;
        for (int nColumn = 0; nColumn < nColumns; ++nColumn)
            row.push_back(harness::CellText(hList, nRow, nColumn));
        rows.push_back(row);
    }
    return rows;
}

ZOVA_ModuleScanResponseType Response(unsigned char bMacLast, std::uint32_t dwIp) {
    ZOVA_ModuleScanResponseType response{};
    std::strcpy(response.szType, "IO-8");
    response.bTypeValid = 1;
    response.bFwVersionMajor = 1;
    response.bFwVersionMinor = 5;
    response.wFwBuild = 12;
    response.bFwVersionValid = 1;
    const unsigned char abMac[6] = {0x02, 0x6B, 0xD4, 0x0A, 0xFF, bMacLast};
    std::memcpy(response.abMacAddr, abMac, 6);
    response.bMacAddrValid = 1;
    response.dwIpAddr = dwIp;
    response.bIpAddrValid = 1;
    response.dwSubnetMask = 0xFFFFFF00u;
    response.bSubnetMaskValid = 1;
    response.dwGateway = 0xC0A80001u;
    response.bGatewayValid = 1;
    response.bDhcpOn = 1;
    response.bDhcpValid = 1;
    return response;
}

}  // namespace harness
