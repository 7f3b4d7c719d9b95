// CAboutDlg: the About box, with the tool's version and legal line.
#ifndef VANTREL_APP_ABOUTDLG_H
#define VANTREL_APP_ABOUTDLG_H

#include "framework/Dialog.h"
#include "framework/String.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    BOOL OnInitDialog() override;

    CString m_strVersion;    // "Version: 1.4.0.0"
    CString m_strLegalLine;  // LegalCopyright and the company's name

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

#endif  // VANTREL_APP_ABOUTDLG_H
