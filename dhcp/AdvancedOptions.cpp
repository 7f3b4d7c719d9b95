// "Advanced Options": the recovery DHCP server's settings.
#include "app/ConfigToolDlg.h"

void CConfigToolDlg::OnAdvancedOptions() {}
