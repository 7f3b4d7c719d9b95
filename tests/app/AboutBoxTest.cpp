// The About box as a user sees it: the real template, run modally, with the
// test program's own version resource (the tool's script).
#include "app/AboutDlg.h"
#include "res/Resource.h"
#include "tests/common/ScriptedDialog.h"
#include "tests/common/WindowText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using harness::ItemText;
using harness::WindowText;

// The template's own caption already reads "About Vantrel Config": blanked
// before the box initialises, it is back only if the box sets it itself.
class AboutDlgWithoutCaption : public CAboutDlg {
public:
    BOOL OnInitDialog() override {
        ::SetWindowTextA(m_hWnd, "");
        return CAboutDlg::OnInitDialog();
    }
};

TEST(AboutBox, ShowsCaptionAndBothLinesAndClosesEveryWay) {
    struct Closing {
        const char* name;
        UINT message;
        WPARAM wParam;
        INT_PTR result;
    };
    const Closing closings[] = {
        {"OK", WM_COMMAND, IDOK, IDOK},
        {"Esc", WM_COMMAND, IDCANCEL, IDCANCEL},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
    };
    for (const Closing& closing : closings) {
        SCOPED_TRACE(closing.name);
        harness::Scripted<AboutDlgWithoutCaption> dlg;
        std::string caption, version, legal;
        bool bIconShown = false;
        dlg.AddStep([&] {
            // The first control is the static with the tool's icon.
            HWND hIcon = ::GetWindow(dlg.m_hWnd, GW_CHILD);
            bIconShown = ::SendMessageA(hIcon, STM_GETICON, 0, 0) != 0;
            caption = WindowText(dlg.m_hWnd);
            version = ItemText(dlg.m_hWnd, IDC_VERSION_TEXT);
            legal = ItemText(dlg.m_hWnd, IDC_LEGAL_TEXT);
            ::PostMessageA(dlg.m_hWnd, closing.message, closing.wParam, 0);
        });
        EXPECT_EQ(dlg.DoModal(), closing.result);
        EXPECT_EQ(caption, "About Vantrel Config");
        EXPECT_EQ(version, "Version: 1.4.0.0");
        EXPECT_EQ(legal, "Copyright (C) 2026 Ulvenor Ltd");
        EXPECT_TRUE(bIconShown);
    }
}

}  // namespace
