// Drives a modal dialog from inside its own message loop: each step runs as
// a posted message, so whatever a step posts is dispatched by the dialog's
// real loop before the next step runs.
#ifndef VANTREL_TESTS_COMMON_SCRIPTEDDIALOG_H
#define VANTREL_TESTS_COMMON_SCRIPTEDDIALOG_H

#include "framework/Dialog.h"
#include "tests/common/Controls.h"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace harness {

constexpr UINT kRunNextStep = WM_APP + 0x3F0;

template <class TDialog>
class Scripted : public TDialog {
public:
    using TDialog::TDialog;

    void AddStep(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    std::size_t StepsRun() const { return m_nNext; }

protected:
    BOOL OnInitDialog() override {
        const BOOL bResult = TDialog::OnInitDialog();
        if (this->m_hWnd != nullptr)
            this->PostMessage(kRunNextStep);
        return bResult;
    }
    const MessageMap* GetMessageMap() const override {
        static const MessageMapEntry kEntries[] = {
            msg::Raw<&Scripted::OnRunNextStep>(kRunNextStep),
        };
        static const MessageMap kMap(TDialog::GetMessageMap(), kEntries);
        return &kMap;
    }

private:
    LRESULT OnRunNextStep(WPARAM, LPARAM) {
        if (m_nNext < m_steps.size()) {
            m_steps[m_nNext++]();
            if (m_nNext < m_steps.size() && this->m_hWnd != nullptr)
                this->PostMessage(kRunNextStep);
        }
        return 0;
    }

    std::vector<std::function<void()>> m_steps;
    std::size_t m_nNext = 0;
};

struct ModalRun {
    INT_PTR result;  // what DoModal returned
    bool leftOpen;   // the script ended with the dialog still running
};

// Runs script once the dialog is up; a dialog the script leaves open is then
// cancelled, as the user would.
template <class TDialog>
ModalRun RunModal(Scripted<TDialog>& dialog, std::function<void(HWND)> script) {
    dialog.AddStep([&dialog, script] { script(dialog.m_hWnd); });
    // Runs only if the script's last action did not end the dialog: an ended
    // dialog leaves its loop before the next posted step is dispatched.
    dialog.AddStep([&dialog] { Click(dialog.m_hWnd, IDCANCEL); });
    const INT_PTR result = dialog.DoModal();
    return {result, dialog.StepsRun() == 2};
}

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_SCRIPTEDDIALOG_H
