// Runs the real main dialog (template 102, the tool's resources) with the
// library double, and reads what it shows through the window system.
#ifndef VANTREL_TESTS_COMMON_MAINDIALOGDRIVER_H
#define VANTREL_TESTS_COMMON_MAINDIALOGDRIVER_H

#include "app/ConfigToolDlg.h"
#include "tests/common/MessageBoxRecorder.h"
#include "tests/common/SampleAnswer.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/common/zova_double/ZovaDouble.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace harness {

// The main dialog with its list reachable by the tests.
class TestMainDlg : public CConfigToolDlg {
public:
    using CConfigToolDlg::m_listDevices;
};
using ScriptedMainDlg = Scripted<TestMainDlg>;

// Fresh library double, and message boxes answered (and recorded) in place
// of a user. A program with these tests links zova_double in place of zova.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::string> LibraryCalls() const;
    MessageBoxRecorder m_boxes;
};

// Every row's texts, top to bottom, as the list view holds them.
std::vector<std::vector<std::string>> ListRows(HWND hList);

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_MAINDIALOGDRIVER_H
