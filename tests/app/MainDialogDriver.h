// Runs the real main dialog (template 102, the tool's resources) with the
// library double, and reads what it shows through the window system.
#ifndef VANTREL_TESTS_APP_MAINDIALOGDRIVER_H
#define VANTREL_TESTS_APP_MAINDIALOGDRIVER_H

#include "app/ConfigToolDlg.h"
#include "tests/app/zova_double/ZovaDouble.h"
#include "tests/framework/ScriptedDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The main dialog with its list reachable by the tests.
class TestMainDlg : public CConfigToolDlg {
public:
    using CConfigToolDlg::m_listDevices;
};
using ScriptedMainDlg = Scripted<TestMainDlg>;

struct ShownBox {
    HWND hOwner;
    std::string strText;
    std::string strCaption;
    UINT nType;
};

// Fresh library double, and message boxes answered (and recorded) in place of a user.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::string> LibraryCalls() const;
    std::vector<ShownBox> m_boxes;
};

// Every row's texts, top to bottom, as the list view holds them.
std::vector<std::vector<std::string>> ListRows(HWND hList);

// A scan answer with every value reported.
ZOVA_ModuleScanResponseType Response(unsigned char bMacLast, std::uint32_t dwIp);

#endif  // VANTREL_TESTS_APP_MAINDIALOGDRIVER_H
