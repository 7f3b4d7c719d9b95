// CIPAddressCtrl: the common controls' four-field IPv4 address control. An
// address is one number with the first dotted octet in the most significant byte.
#ifndef VANTREL_FRAMEWORK_IPADDRESSCTRL_H
#define VANTREL_FRAMEWORK_IPADDRESSCTRL_H

#include "framework/Wnd.h"

#include <commctrl.h>

class CIPAddressCtrl : public CWnd {
public:
    void SetAddress(DWORD dwAddress) {
        SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(dwAddress));
    }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    // Blank fields read as 0; returns how many fields are not blank.
    int GetAddress(DWORD& dwAddress) const {
        dwAddress = 0;
        return static_cast<int>(
            SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
    }
};

#endif  // VANTREL_FRAMEWORK_IPADDRESSCTRL_H
