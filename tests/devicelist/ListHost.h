// A dialog that holds one CDeviceListCtrl with the main window's columns,
// run modally while a test drives it step by step.
#ifndef VANTREL_TESTS_DEVICELIST_LISTHOST_H
#define VANTREL_TESTS_DEVICELIST_LISTHOST_H

#include "devicelist/DeviceListCtrl.h"
#include "framework/DataExchange.h"
#include "tests/common/ScriptedDialog.h"

#include <string>
#include <vector>

class ListHostDlg : public CDialog {
public:
    ListHostDlg();
    CDeviceListCtrl m_list;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
using ScriptedListHost = harness::Scripted<ListHostDlg>;

extern const char kMainColumns[];

// One column's texts, top to bottom, as the list view holds them.
std::vector<std::string> ColumnTexts(HWND hList, int nColumn);

// A left click on header item nItem, as the mouse gives it.
void ClickHeaderItem(HWND hHeader, int nItem);

#endif  // VANTREL_TESTS_DEVICELIST_LISTHOST_H
