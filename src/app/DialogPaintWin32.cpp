// Painting of the dialog and the custom-drawn instance list. Everything is composed in one
// off-screen bitmap and copied to the window in a single transfer.
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "ui/GdiSurfaceWin32.h"
#include "ui/Painting.h"
#include "win32/StartupTimeline.h"

CtarnwickDlg::DerivedClassListCtrl::DerivedClassListCtrl() : rowBrush(CreateSolidBrush(RGB(255, 255, 255))) {}

void CtarnwickDlg::DerivedClassListCtrl::OnNMCustomdraw(NMHDR* header, LRESULT* result) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // Each row on white, and the 50 pixels below it until the next row covers them.
        rowRect = draw->nmcd.rc;
        rowRect.bottom += 50;
        FillRect(draw->nmcd.hdc, &rowRect, rowBrush.get());
        draw->clrTextBk = RGB(255, 255, 255);
        draw->clrFace = RGB(255, 255, 255);
    }
    *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
}

namespace {

PaintInputs PaintInputsOf(const CtarnwickDlg& d, double scale) {
    PaintInputs in;
    in.scale = scale;
    in.dragFlipArea = d.dragFlipArea;
    in.titleBarRect = d.titleBarRect;
    in.bodyRect = d.bodyRect;
    in.closeButtonRect = d.closeButtonRect;
    in.minimizeButtonRect = d.minimizeButtonRect;
    in.bannerRect = d.bannerRect;
    in.hintTextRect = d.hintTextRect;
    in.titleTextRect = d.titleTextRect;
    in.ledLabelRect = d.ledLabelRect;
    in.ledLabel = d.ledLabel;
    in.hintText = &d.hintText;
    in.titleText = &d.titleText;
    in.mouseOverArea = d.mouseOverArea;
    in.ctrlKeyDown = d.ctrlKeyDown;
    in.standardLayout = d.standardLayout;
    return in;
}

}  // namespace

void CtarnwickDlg::OnPaint() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (IsIconic(hwnd_)) {
        PaintScope paint(hwnd_);
        SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
        const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(paint.get(), x, y, appIcon);
        return;
    }
    { PaintScope validate(hwnd_); }  // the update region is validated; drawing goes to the whole area

    WindowDc clientDc(hwnd_);
    if (!clientDc) return;
    const int width = client.right - client.left, height = client.bottom - client.top;
    UniqueMemoryDc memory(CreateCompatibleDC(clientDc.get()));
    if (!memory) return;
    UniqueBitmap bitmap(CreateCompatibleBitmap(clientDc.get(), width, height));
    if (!bitmap) return;
    SelectionGuard selected(memory.get(), bitmap.get());  // deselected before the bitmap goes
    {
        GdiSurface surface(memory.get(), brushes, fonts, bannerImage.get(), bannerSourceRect);
        PaintChrome(surface, PaintInputsOf(*this, dlgScaleFactor_g));
    }
    BitBlt(clientDc.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    MarkStartupPhase(StartupPhase::firstPaint);
}

BOOL CtarnwickDlg::OnEraseBkgnd(HDC) { return FALSE; }

void CtarnwickDlg::InvalidateHintLine() {
    // With the line above it, where a hint too long for one line goes on.
    const RECT hint{hintTextRect.left, hintTextRect.top - hintTextRect.Height(), hintTextRect.right, hintTextRect.bottom};
    InvalidateRect(hwnd_, &hint, FALSE);
}

void CtarnwickDlg::DrawCancelButton(HDC hdc) {
    GdiSurface surface(hdc, brushes, fonts, nullptr, {});
    DrawCloseGlyph(surface, closeButtonRect, mouseOverArea[0], dlgScaleFactor_g);
}

void CtarnwickDlg::DrawMinimizeButton(HDC hdc) {
    GdiSurface surface(hdc, brushes, fonts, nullptr, {});
    DrawMinimizeGlyph(surface, minimizeButtonRect, mouseOverArea[1], ctrlKeyDown, dlgScaleFactor_g);
}

HCURSOR CtarnwickDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(appIcon); }
