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

std::atomic<NotifyPostFunction> g_pfnNotifyPost{&::PostMessageA};

// Notifications whose post was refused, by value (1 to 3). Windows refuses
// posts beyond a queue's quota (10,000 messages by default), and a refused
// notification 1 would leave an answer in the library's queue with nothing
// to fetch it. A timer on the window's thread posts them again: WM_TIMER is
// no post, and it comes once the messages already posted are handled.
constexpr int kNotifyValues = 3;
std::atomic<unsigned> g_anRefusedPosts[kNotifyValues];
constexpr UINT_PTR kRepostTimer = 1;
constexpr UINT kRepostIntervalMs = 100;

bool PostNotification(HWND hWnd, int nNotification) {
    return g_pfnNotifyPost.load()(hWnd, WM_ZOVA_NOTIFY, 0, nNotification) != FALSE;
}

void CALLBACK RepostRefusedNotifications(HWND hWnd, UINT, UINT_PTR, DWORD) {
    // Only this thread takes from the counts: what it sees is there to take.
    for (int i = 0; i < kNotifyValues; ++i) {
        while (g_anRefusedPosts[i].load() > 0 && PostNotification(hWnd, i + 1))
            g_anRefusedPosts[i].fetch_sub(1);
    }
}

void StartNotifications(HWND hWnd) {
    for (std::atomic<unsigned>& nRefused : g_anRefusedPosts)
        nRefused.store(0);
    g_hNotifyWnd.store(hWnd);
    ::SetTimer(hWnd, kRepostTimer, kRepostIntervalMs, &RepostRefusedNotifications);
}
}  // namespace

void ZOVA_CALL ZovaNotifyCallback(int nNotification) {
    // The library has no stop call: it may call after the dialog has gone.
    const HWND hWnd = g_hNotifyWnd.load();
    if (hWnd && !PostNotification(hWnd, nNotification) && nNotification >= 1 &&
        nNotification <= kNotifyValues)
        g_anRefusedPosts[nNotification - 1].fetch_add(1);
}

void SetNotifyPostForTesting(NotifyPostFunction pfnPost) {
    g_pfnNotifyPost.store(pfnPost ? pfnPost : &::PostMessageA);
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
    StartNotifications(m_hWnd);
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
