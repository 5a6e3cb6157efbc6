// Mouse interaction, hover and the Ctrl key (scale mode).
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::OnMouseMove(UINT, POINT) { DefaultProcessing(); }

void CtarnwickDlg::OnMouseLeave() { DefaultProcessing(); }

BOOL CtarnwickDlg::OnSetCursor(HWND, UINT, UINT) {
    DefaultProcessing();
    return FALSE;
}

void CtarnwickDlg::OnLButtonDown(UINT, POINT) { DefaultProcessing(); }

void CtarnwickDlg::OnLButtonUp(UINT, POINT) { DefaultProcessing(); }

void CtarnwickDlg::OnLButtonDblClk(UINT, POINT) { DefaultProcessing(); }

BOOL CtarnwickDlg::PreTranslateMessage(MSG* msg) { return DialogBase::PreTranslateMessage(msg); }
