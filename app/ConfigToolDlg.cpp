#include "app/ConfigToolDlg.h"

#include "app/AboutDlg.h"
#include "app/DialogLayout.h"
#include "configure/ConfigureAction.h"
#include "dhcp/AdvancedSettingsDlg.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "version/StartupVersion.h"
#include "zova/Columns.h"
#include "zova/zova.h"

#include <atomic>
#include <cstdlib>

CConfigToolDlg* g_pMainDlg = nullptr;

namespace {
// The main window as the library's thread sees it: set before the callback
// is registered, cleared when the window goes. The dialog object itself is
// never touched from that thread.
std::atomic<HWND> g_hNotifyWnd{nullptr};
}  // namespace

void ZOVA_CALL ZovaNotifyCallback(int nNotification) {
    // The library has no stop call: it may call after the dialog has gone.
    if (const HWND hWnd = g_hNotifyWnd.load())
        ::PostMessageA(hWnd, WM_ZOVA_NOTIFY, 0, nNotification);
}

CConfigToolDlg::CConfigToolDlg(CWnd* pParent)
    : CDialog(IDD_CONFIGTOOL_DIALOG, pParent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

CConfigToolDlg::~CConfigToolDlg() {
    if (g_pMainDlg == this)
        g_pMainDlg = nullptr;
}

void CConfigToolDlg::OnDestroy() {
    HWND hOwn = m_hWnd;
    g_hNotifyWnd.compare_exchange_strong(hOwn, nullptr);
    Default();
}

const MessageMap* CConfigToolDlg::GetMessageMap() const {
    static const MessageMapEntry kEntries[] = {
        msg::SysCommand<&CConfigToolDlg::OnSysCommand>(),
        msg::Paint<&CConfigToolDlg::OnPaint>(),
        msg::QueryDragIcon<&CConfigToolDlg::OnQueryDragIcon>(),
        msg::Command<&CConfigToolDlg::OnScan>(IDC_SCAN),
        msg::Size<&CConfigToolDlg::OnSize>(),
        msg::Sizing<&CConfigToolDlg::OnSizing>(),
        msg::Command<&CConfigToolDlg::OnAdvancedOptions>(IDC_ADVANCED),
        msg::Command<&CConfigToolDlg::OnWink>(IDC_WINK),
        msg::Command<&CConfigToolDlg::OnFile>(IDC_FILE),
        msg::Raw<&CConfigToolDlg::OnZovaNotify>(WM_ZOVA_NOTIFY),
        msg::Destroy<&CConfigToolDlg::OnDestroy>(),
    };
    static const MessageMap kMap(CDialog::GetMessageMap(), kEntries);
    return &kMap;
}

void CConfigToolDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WINK, m_btnWink);
    DDX_Control(pDX, IDC_ADVANCED, m_btnAdvanced);
    DDX_Control(pDX, IDC_DEVICE_LIST, m_listDevices);
}

BOOL CConfigToolDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU hSystemMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            ::AppendMenuA(hSystemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSystemMenu, MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                            IMAGE_ICON, 16, 16, LR_SHARED)),
            FALSE);

    // The configure request's password salt draws from this generator.
    std::srand(::GetTickCount());

    SetWindowText(version::MainWindowTitleFromOwnVersion());
    // The library is checked by its file before the first call into it.
    if (!version::IsZovaLibraryVersionAccepted(version::ZovaLibraryPath())) {
        MessageBox("Incorrect DLL version", "Warning", MB_ICONEXCLAMATION);
        CDialog::OnCancel();
        return TRUE;
    }

    LayoutControls(TRUE);
    LayoutControls(FALSE);

    m_listDevices.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    m_listDevices.InsertColumns(zova::WindowColumnFormat().c_str());

    g_pMainDlg = this;
    g_hNotifyWnd.store(m_hWnd);
    ZOVA_RegisterCallBack(&ZovaNotifyCallback);
    ZOVA_Start();

    m_listDevices.DeleteAllRows();
    ZOVA_SendModuleScan();
    return TRUE;
}

void CConfigToolDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else if (nID == SC_CLOSE) {
        // The close box, the system menu's Close and Alt+F4 end the run like "Exit".
        OnOK();
    } else {
        Default();
    }
}

void CConfigToolDlg::OnSize(UINT, int, int) {
    Default();
    // Minimising lays out too (against an empty client area); restoring undoes it.
    if (::GetWindow(m_hWnd, GW_CHILD) != nullptr)
        LayoutControls(FALSE);
}

void CConfigToolDlg::OnSizing(UINT fwSide, LPRECT pRect) {
    Default();
    app::ClampSizingRect(fwSide, pRect);
}

void CConfigToolDlg::LayoutControls(BOOL bRecord) {
    app::LayoutDialogControls(m_hWnd, m_layout, bRecord != FALSE);
}

void CConfigToolDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(*this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CConfigToolDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CConfigToolDlg::OnAdvancedOptions() {
    dhcp::RunAdvancedOptions(m_dhcpServer);
}

void CConfigToolDlg::OnWink() {
    const int nRow = m_listDevices.GetNextItem(-1, LVNI_SELECTED);
    if (nRow < 0)
        return;
    if (const ZOVA_ModuleScanResponseType* pStored = m_listDevices.FindRowResponse(nRow))
        configure::WinkDevice(*pStored);
}
