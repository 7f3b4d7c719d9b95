// "Wink": the selected device signals its position.
#include "app/ConfigToolDlg.h"

void CConfigToolDlg::OnWink() {}
