// The scale factor and the layout pass.
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"

void CtarnwickDlg::SetScaleFactor() {
    dlgScaleFactor_g = 1.0;
    dlgScaleFactorMax_g = 2.0;
}

void CtarnwickDlg::ConfigureDialogWindow() {}

void CtarnwickDlg::CalculateListCtrlColumnWidth(ListCtrl&, int, HDC, HWND, double& width) { width = 50.0; }

BOOL CtarnwickDlg::OnMouseWheel(UINT, short, POINT) {
    DefaultProcessing();
    return FALSE;
}
