#include "tests/common/MessageBoxRecorder.h"

#include "framework/MessageBox.h"

namespace harness {

MessageBoxRecorder::MessageBoxRecorder(int nAnswer) {
    framework::SetMessageBoxHook(
        [this, nAnswer](HWND hOwner, const char* pszText, const char* pszCaption, UINT nType) {
            m_boxes.push_back({hOwner, pszText, pszCaption ? pszCaption : "", nType});
            return nAnswer;
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    framework::SetMessageBoxHook(nullptr);
}

std::vector<std::string> MessageBoxRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : m_boxes)
        texts.push_back(box.strText);
    return texts;
}

std::vector<std::string> MessageBoxRecorder::TakeTexts() {
    std::vector<std::string> texts = Texts();
    m_boxes.clear();
    return texts;
}

}  // namespace harness
