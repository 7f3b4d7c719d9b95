// Drives a dialog as a user would, from inside its own modal loop (see
// tests/framework/ScriptedDialog.h); message boxes are answered and kept.
#pragma once

#include "tests/framework/ScriptedDialog.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ModalRun {
    INT_PTR result;  // what DoModal returned
    bool leftOpen;   // the script ended with the dialog still running
};

// Runs script once the dialog is up; a dialog the script leaves open is then
// cancelled, as the user would. Message boxes shown meanwhile are recorded.
template <class TDialog>
ModalRun RunModal(Scripted<TDialog>& dialog, std::function<void(HWND)> script);

// Texts of the message boxes recorded since the last call.
std::vector<std::string> TakeMessageBoxes();
void RecordMessageBoxes();

void Click(HWND hDlg, int nId);
void SetText(HWND hDlg, int nId, const char* text);
std::string GetText(HWND hDlg, int nId);
void SetAddress(HWND hDlg, int nId, DWORD address);
bool IsBlankAddress(HWND hDlg, int nId);
bool IsEnabled(HWND hDlg, int nId);
bool IsReadOnly(HWND hDlg, int nId);
bool IsChecked(HWND hDlg, int nId);

// While it lives: runs script once on the first configure dialog ("Configure:
// …") that appears, from inside that dialog's own modal loop, and keeps its
// title. Made before the action that opens the dialog.
class ConfigureDialogScript {
public:
    explicit ConfigureDialogScript(std::function<void(HWND)> script);
    ~ConfigureDialogScript();
    ConfigureDialogScript(const ConfigureDialogScript&) = delete;
    ConfigureDialogScript& operator=(const ConfigureDialogScript&) = delete;

    bool Shown() const { return !m_title.empty(); }
    const std::string& Title() const { return m_title; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::function<void(HWND)> m_script;
    UINT_PTR m_timer = 0;
    std::string m_title;
};

template <class TDialog>
ModalRun RunModal(Scripted<TDialog>& dialog, std::function<void(HWND)> script) {
    RecordMessageBoxes();
    dialog.AddStep([&dialog, script] { script(dialog.m_hWnd); });
    // Runs only if the script's last action did not end the dialog: an ended
    // dialog leaves its loop before the next posted step is dispatched.
    dialog.AddStep([&dialog] { Click(dialog.m_hWnd, IDCANCEL); });
    const INT_PTR result = dialog.DoModal();
    return {result, dialog.StepsRun() == 2};
}
