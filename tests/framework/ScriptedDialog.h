// Drives a modal dialog from inside its own message loop: each step runs as
// a posted message, so whatever a step posts is dispatched by the dialog's
// real loop before the next step runs.
#ifndef VANTREL_TESTS_FRAMEWORK_SCRIPTEDDIALOG_H
#define VANTREL_TESTS_FRAMEWORK_SCRIPTEDDIALOG_H

#include "framework/Dialog.h"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

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

#endif  // VANTREL_TESTS_FRAMEWORK_SCRIPTEDDIALOG_H
