// The main window's layout on the real controls: thin Win32 over ControlLayout.
#ifndef VANTREL_APP_DIALOGLAYOUT_H
#define VANTREL_APP_DIALOGLAYOUT_H

#include "app/Layout.h"

#include <windows.h>

namespace app {

// Records the controls' distances from their present places, or moves them to
// the places those distances give for the dialog's present client size; then
// repaints the dialog at once.
void LayoutDialogControls(HWND hDlg, ControlLayout& layout, bool bRecord);

// WM_SIZING: keeps the proposed window rectangle at the minimum size or above.
void ClampSizingRect(UINT nEdge, RECT* pRect);
}  // namespace app

#endif  // VANTREL_APP_DIALOGLAYOUT_H
