// A double-click on a device opens its configuration.
#include "devicelist/DeviceListCtrl.h"

void CDeviceListCtrl::OnLButtonDblClk(UINT, POINT) {
    Default();
}
