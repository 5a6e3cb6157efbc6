// The scale factor and the layout pass: the geometry computed by the core, applied to the
// window, its region, its controls, fonts and list columns.
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "ui/ColumnWidths.h"
#include "ui/GdiSurfaceWin32.h"
#include "ui/Layout.h"
#include "win32/StartupTimeline.h"

namespace {

HFONT CreateDialogFont(int index, double s) {
    const FontSpec f = DialogFont(index, s);
    return CreateFontW(f.height, 0, 0, 0, f.weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, f.face);
}

// Moves the control there (when the geometry has changed) and invalidates it.
void Place(HWND control, const Rect& r, bool move) {
    if (move) MoveWindow(control, r.left, r.top, r.Width(), r.Height(), globalWindowRedraw_g);
    InvalidateRect(control, nullptr, TRUE);
}

// The work area of a monitor (the screen less the task bar); empty when it is unknown.
Rect WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace

void CtarnwickDlg::SetScaleFactor() {
    double height = 0.0;
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        height = r.bottom > r.top ? r.bottom - r.top : r.top - r.bottom;
    }
    // The wheel and the auto-scale click never make the window larger than the work area.
    const Rect work = WorkArea(monitor);
    const ScaleFactors f = work.Width() > 0 && work.Height() > 0
                               ? ScaleFactorsForMonitor(height, work.Width(), work.Height())
                               : ScaleFactorsForMonitorHeight(height);
    dlgScaleFactor_g = f.scale;
    dlgScaleFactorMax_g = f.maximum;
}

void CtarnwickDlg::ConfigureDialogWindow() {
    const double s = dlgScaleFactor_g;
    const DialogGeometry g = ComputeDialogGeometry(s, standardLayout);

    // A pass at the scale and orientation of the last one (the start-up step's, after the
    // adapters came) finds the window, its region, fonts and controls as they are to be:
    // it sizes the columns and invalidates. Setting them again would change nothing but
    // make a shown window and controls with a new font measure and repaint themselves.
    const bool sameScale = s == laidOutScale && fonts[0] && fonts[1] && fonts[2] && fonts[3];
    const bool reshape = !sameScale || standardLayout != laidOutStandard;
    laidOutScale = s;
    laidOutStandard = standardLayout;
    if (!sameScale) {
        // Each control gets its new font before the old one is deleted.
        UniqueFont controlFont(CreateDialogFont(2, s));
        refreshAdaptersButton.SetFont(controlFont.get());
        closeAdapterButton.SetFont(controlFont.get());
        findAndConfigureButton.SetFont(controlFont.get());
        browserCombo.SetFont(controlFont.get());
        fonts[2] = std::move(controlFont);
        UniqueFont listFont(CreateDialogFont(3, s));
        adapterList.SetFont(listFont.get());
        instanceList.SetFont(listFont.get());
        choiceCombo.SetFont(listFont.get());
        fonts[3] = std::move(listFont);
        fonts[0].reset(CreateDialogFont(0, s));
        fonts[1].reset(CreateDialogFont(1, s));
    }

    RECT before{};
    GetWindowRect(hwnd_, &before);
    // Redraw is switched off while the region is rebuilt, and only while the window is
    // shown. The pass inside the dialog's initialisation runs before the window is shown
    // and draws nothing anyway; switching redraw on again there would show the window at
    // once (WM_SETREDRAW sets WS_VISIBLE), half laid out, and make every later step of
    // that pass repaint on the screen.
    const bool redrawOff = reshape && IsWindowVisible(hwnd_) != FALSE;
    if (redrawOff) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);

    dialogRect = g.dialogRect;
    titleBarRect = g.titleBarRect;
    dragFlipArea = g.dragFlipArea;
    bodyRect = g.bodyRect;
    closeButtonRect = g.closeButtonRect;
    minimizeButtonRect = g.minimizeButtonRect;
    bannerRect = g.bannerRect;
    hintTextRect = g.hintTextRect;

    // The window's shape: three panels, with the gaps between them left out.
    UniqueRegion region(CreateRectRgn(titleBarRect.left, titleBarRect.top, titleBarRect.right, titleBarRect.bottom));
    UniqueRegion dragBar(CreateRectRgn(dragFlipArea.left, dragFlipArea.top, dragFlipArea.right, dragFlipArea.bottom));
    UniqueRegion body(CreateRectRgn(bodyRect.left, bodyRect.top, bodyRect.right, bodyRect.bottom));
    if (redrawOff) SendMessageW(hwnd_, WM_SETREDRAW, globalWindowRedraw_g, 0);
    if (reshape && region && dragBar && body) {
        CombineRgn(region.get(), region.get(), dragBar.get(), RGN_OR);
        CombineRgn(region.get(), region.get(), body.get(), RGN_OR);
        // Once set, the region belongs to the window.
        if (SetWindowRgn(hwnd_, region.get(), globalWindowRedraw_g)) region.release();
    }

    // Keep the top-right corner where it was.
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    Rect placed = PlaceKeepingTopRight({before.left, origin.y, before.right, origin.y + g.height}, g.width, g.height);
    // A rescale that would push the window past the work area's edge moves it back inside.
    const bool resized = g.width != before.right - before.left || g.height != before.bottom - before.top;
    const Rect work = WorkArea(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST));
    if (resized && work.Width() > 0 && work.Height() > 0) placed = KeepWithin(placed, work);
    if (placed != Rect{before.left, before.top, before.right, before.bottom})
        MoveWindow(hwnd_, placed.left, placed.top, g.width, g.height, globalWindowRedraw_g);
    dialogRect = placed;

    titleTextRect = g.titleTextRect;

    {
        WindowDc clientDc(hwnd_);
        UniqueMemoryDc measuring(CreateCompatibleDC(clientDc.get()));
        SelectionGuard font(measuring.get(), fonts[3].get());
        auto sizeColumns = [&](ListCtrl& list, int columns, int listWidth) {
            std::vector<double> measured(columns);
            const HWND header = list.GetHeaderCtrl();
            for (int c = 0; c < columns; ++c) CalculateListCtrlColumnWidth(list, c, measuring.get(), header, measured[c]);
            const bool scrollBar = (list.Style() & WS_VSCROLL) != 0;
            const std::vector<int> widths = DistributeColumnWidths(measured, listWidth, scrollBar);
            std::vector<int> targets(columns), current(columns);
            for (int c = 0; c < columns; ++c) {
                targets[c] = widths[c] & 0xFFFF;
                current[c] = list.GetColumnWidth(c);
            }
            for (int c : ColumnWidthOrder(current, targets)) list.SetColumnWidth(c, targets[c]);
        };
        sizeColumns(adapterList, adapterColumnCount, g.adapterListRect.Width());
        Place(adapterList.GetSafeHwnd(), g.adapterListRect, reshape);
        sizeColumns(instanceList, instanceColumnCount, g.instanceListRect.Width());
    }
    Place(instanceList.GetSafeHwnd(), g.instanceListRect, reshape);

    Place(refreshAdaptersButton.GetSafeHwnd(), g.refreshAdaptersButtonRect, reshape);
    Place(closeAdapterButton.GetSafeHwnd(), g.closeAdapterButtonRect, reshape);
    Place(findAndConfigureButton.GetSafeHwnd(), g.findAndConfigureButtonRect, reshape);
    Place(searchLed.GetSafeHwnd(), g.searchLedRect, reshape);
    Place(browserCombo.GetSafeHwnd(), g.browserComboRect, reshape);
    browserCombo.ClearEditSelection();
    for (int k = 0; k < 10; ++k) {
        Place(instanceLed[k].GetSafeHwnd(), g.ledRect[k], reshape);
        ledLabelRect[k] = g.ledLabelRect[k];
        ledLabel[k] = g.ledLabel[k];
    }
    Invalidate(TRUE);
    // The first pass after the one of the dialog's initialisation is the start-up step's.
    if (StartupPhaseEnd(StartupPhase::firstLayout)) MarkStartupPhase(StartupPhase::secondLayout);
}

void CtarnwickDlg::CalculateListCtrlColumnWidth(ListCtrl& list, int column, HDC hdc, HWND header, double& width) {
    wchar_t headerText[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = headerText;
    item.cchTextMax = 256;
    if (!header || !SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item))) headerText[0] = 0;
    headerText[255] = 0;
    width = MeasureColumnWidth(headerText, list, column, [hdc](const std::wstring& text) {
        RECT r{0, 0, 0, 0};
        if (!hdc || !DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP)) return 0;
        return static_cast<int>(r.right - r.left);
    });
}

BOOL CtarnwickDlg::OnMouseWheel(UINT, short zDelta, POINT) {
    if (ctrlKeyDown) {
        dlgScaleFactor_g = ScaleAfterWheel(dlgScaleFactor_g, dlgScaleFactorMax_g, zDelta);
        ConfigureDialogWindow();
    }
    DefaultProcessing();
    return FALSE;
}
