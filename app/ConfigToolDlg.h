// CConfigToolDlg: the main dialog, the program's only top-level window. It
// owns the device list, starts the protocol library and runs the scan cycle.
#ifndef VANTREL_APP_CONFIGTOOLDLG_H
#define VANTREL_APP_CONFIGTOOLDLG_H

#include "app/Layout.h"
#include "devicelist/DeviceListCtrl.h"
#include "dhcp/ServerSwitch.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

// Posted to the main dialog for every library notification (lParam: its value).
constexpr UINT WM_ZOVA_NOTIFY = WM_USER + 1;

class CConfigToolDlg : public CDialog {
public:
    explicit CConfigToolDlg(CWnd* pParent = nullptr);
    ~CConfigToolDlg() override;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Esc does nothing: only "Exit" and closing the window end the program.
    void OnCancel() override {}

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnScan();
    void OnAdvancedOptions();
    void OnWink();
    // "File" is hidden and disabled; it does nothing.
    void OnFile() {}
    LRESULT OnZovaNotify(WPARAM wParam, LPARAM lParam);
    // Hands the library's notifications posted here straight to OnZovaNotify.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSizing(UINT fwSide, LPRECT pRect);

    // TRUE: records where the controls are; FALSE: places them for the
    // present client size.
    void LayoutControls(BOOL bRecord);

    CButton m_btnWink;
    CButton m_btnAdvanced;
    CDeviceListCtrl m_listDevices;
    HICON m_hIcon;
    app::ControlLayout m_layout;

private:
    // The recovery DHCP server with its running flag and worker. Closing the
    // tool leaves the switch as it is; its destructor, with the dialog
    // object, stops the worker and closes the socket.
    dhcp::ServerSwitch m_dhcpServer;
};

// The main dialog, for the library's callback; set before the callback is registered.
extern CConfigToolDlg* g_pMainDlg;

// Handed to the library: posts the notification to the main dialog, from any
// thread. A post the window's queue refuses is made again later from the
// window's own thread, so that every notification is handled.
void ZOVA_CALL ZovaNotifyCallback(int nNotification);

// How ZovaNotifyCallback posts (::PostMessageA). Tests put in a post that
// refuses, as Windows does once a queue holds its quota; null puts
// ::PostMessageA back.
using NotifyPostFunction = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
void SetNotifyPostForTesting(NotifyPostFunction pfnPost);

#endif  // VANTREL_APP_CONFIGTOOLDLG_H
