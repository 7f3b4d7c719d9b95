// Answers every message box in place of a user while it lives, and keeps
// what each box showed.
#ifndef VANTREL_TESTS_COMMON_MESSAGEBOXRECORDER_H
#define VANTREL_TESTS_COMMON_MESSAGEBOXRECORDER_H

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

struct ShownBox {
    HWND hOwner;
    std::string strText;
    std::string strCaption;
    UINT nType;
};

class MessageBoxRecorder {
public:
    // Each box is answered with nAnswer, as if the user pressed that button.
    explicit MessageBoxRecorder(int nAnswer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<ShownBox>& Boxes() const { return m_boxes; }
    // The boxes' texts, in the order they were shown.
    std::vector<std::string> Texts() const;
    // The texts recorded so far; the record starts again empty.
    std::vector<std::string> TakeTexts();
    void Clear() { m_boxes.clear(); }

private:
    std::vector<ShownBox> m_boxes;
};

}  // namespace harness

#endif  // VANTREL_TESTS_COMMON_MESSAGEBOXRECORDER_H
