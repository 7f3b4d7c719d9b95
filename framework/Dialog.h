// CDialog: a dialog from a template, run modally by DoModal.
//
// DoModal creates the dialog (CreateDialogParam, the object's address in
// DWLP_USER) and runs its own message loop with the owner disabled. The loop
// dispatches every message of the thread, so a window behind a nested dialog
// (the main dialog with its library notifications) keeps receiving posted
// messages while the nested dialog is open. Pending input goes ahead of
// posted messages, so that clicks are answered while notifications stream in.
#ifndef VANTREL_FRAMEWORK_DIALOG_H
#define VANTREL_FRAMEWORK_DIALOG_H

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    // pParentWnd null: the application's main window owns the dialog, unless
    // the dialog is the main window itself.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog; returns the value given to EndDialog, or -1 when the
    // dialog could not be created or went away without EndDialog.
    virtual INT_PTR DoModal();
    // Ends the modal run with nResult once the current message is handled.
    void EndDialog(int nResult);
    // TRUE: controls to members (with validation); FALSE: members to controls.
    // FALSE when a validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Called once the controls exist; by default loads the members into them.
    // The result: TRUE to let the dialog give the focus to its first control.
    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // "OK" (IDOK): saves the controls into the members and ends with IDOK.
    virtual void OnOK();
    // Esc or "Cancel" (IDCANCEL): ends with IDCANCEL.
    virtual void OnCancel();
    // Offered each message the dialog's own loop takes, before the dialog
    // manager sees it; TRUE when handled, and the message goes no further.
    // The loop of a dialog run inside this one does not offer it here.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    const MessageMap* GetMessageMap() const override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;
    void RunModalLoop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModalRunning = false;
    INT_PTR m_nModalResult = -1;
    // Set while Default() lets the dialog manager process a message, so the
    // dialog procedure it calls back declines that one message.
    bool m_bInDefault = false;
};

#endif  // VANTREL_FRAMEWORK_DIALOG_H
