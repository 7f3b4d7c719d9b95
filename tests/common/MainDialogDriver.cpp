#include "tests/common/MainDialogDriver.h"

#include "framework/WinApp.h"
#include "tests/common/WindowText.h"

#include <commctrl.h>

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

}  // namespace harness
