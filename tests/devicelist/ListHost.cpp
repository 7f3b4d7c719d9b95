#include "tests/devicelist/ListHost.h"

#include "tests/devicelist/ListHostIds.h"

const char kMainColumns[] = "IP,90;SN,90;GW,90;DHCP,50;Version,50;Type,114;MAC,115";

ListHostDlg::ListHostDlg() : CDialog(IDD_LIST_HOST) {}

void ListHostDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOST_LIST, m_list);
}

std::vector<std::string> ColumnTexts(HWND hList, int nColumn) {
    std::vector<std::string> texts;
    const int nRows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        char szText[260] = {};
        LVITEMA item{};
        item.iSubItem = nColumn;
        item.pszText = szText;
        item.cchTextMax = sizeof szText;
        ::SendMessageA(hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(szText);
    }
    return texts;
}

void ClickHeaderItem(HWND hHeader, int nItem) {
    RECT rect{};
    ::SendMessageA(hHeader, HDM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(hHeader, WM_LBUTTONUP, 0, point);
}
