// Painting of the dialog and the custom-drawn instance list.
#include "app/CtarnwickDlgWin32.h"

CtarnwickDlg::DerivedClassListCtrl::DerivedClassListCtrl() : rowBrush(CreateSolidBrush(RGB(255, 255, 255))) {}

void CtarnwickDlg::DerivedClassListCtrl::OnNMCustomdraw(NMHDR*, LRESULT* result) { *result = CDRF_DODEFAULT; }

void CtarnwickDlg::OnPaint() {
    PaintScope paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    FillRect(paint.get(), &client, brushes[1].get());
}

BOOL CtarnwickDlg::OnEraseBkgnd(HDC) { return FALSE; }

void CtarnwickDlg::DrawCancelButton(HDC) {}

void CtarnwickDlg::DrawMinimizeButton(HDC) {}

HCURSOR CtarnwickDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(appIcon); }
