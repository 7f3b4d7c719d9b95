#include "app/AboutDlg.h"

#include "framework/DataExchange.h"
#include "res/Resource.h"
#include "version/VersionInfo.h"
#include "version/VersionText.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_VERSION_TEXT, m_strVersion);
    DDX_Text(pDX, IDC_LEGAL_TEXT, m_strLegalLine);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CVFXVersionData data;
    CVFXVersionInfo reader(0x04B0, 0x0409);
    // An unreadable resource leaves both lines empty; the box works all the same.
    if (reader.Read(data, nullptr)) {
        m_strVersion =
            version::AboutVersionLine(static_cast<const char*>(data.m_strProductVersion)).c_str();
        m_strLegalLine =
            version::AboutLegalLine(static_cast<const char*>(data.m_strLegalCopyright)).c_str();
    }

    CString strCaption;
    strCaption.Format("About %s", version::kProductName);
    SetWindowText(strCaption);

    UpdateData(FALSE);
    return TRUE;
}
