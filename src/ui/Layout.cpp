#include "ui/Layout.h"

#include <algorithm>
#include <cmath>

int Scaled(double s, int n) { return static_cast<int>(std::lround(s * n)); }

namespace {

Rect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

}  // namespace

DialogGeometry ComputeDialogGeometry(double s, bool standardLayout) {
    auto S = [s](int n) { return Scaled(s, n); };
    DialogGeometry g;
    const int W = S(850), H = S(550);
    g.width = W;
    g.height = H;
    g.dialogRect = {0, 0, W, H};

    Rect& T = g.titleBarRect;
    Rect& C = g.closeButtonRect;
    Rect& B = g.bodyRect;
    if (standardLayout) {
        T = {S(30) + S(5), 0, W, S(25)};
        g.dragFlipArea = {0, 0, S(30), H};
        B = {S(30) + S(5), S(5) + S(25), W, H};
        C = {T.right - S(25), T.top, T.right, T.bottom};
        g.minimizeButtonRect = {C.left - S(2) - S(25), T.top, C.left - S(2), T.bottom};
        g.bannerRect = {B.right - S(237), B.bottom - S(60), B.right - S(2), B.bottom - S(2)};
        g.hintTextRect = {B.left + S(5), B.bottom - S(30), B.right, B.bottom - S(5)};
    } else {
        T = {0, 0, W - S(5) - S(30), S(25)};
        g.dragFlipArea = {W - S(30), 0, W, H};
        B = {0, S(5) + S(25), W - S(5) - S(30), H};
        C = {T.left, T.top, T.left + S(25), T.bottom};
        g.minimizeButtonRect = {C.right + S(2), T.top, C.right + S(2) + S(25), T.bottom};
        g.bannerRect = {B.left + S(2), B.bottom - S(60), B.left + S(237), B.bottom - S(2)};
        g.hintTextRect = {B.left, B.bottom - S(30), B.right - S(5), B.bottom - S(5)};
    }
    g.titleTextRect = {T.left + S(5), T.top, T.right - S(5), T.bottom};

    g.adapterListRect = {B.left + S(5), B.top + S(5), B.right - S(5), B.top + S(5) + S(100)};
    g.instanceListRect = {B.left + S(5), B.top + S(138), B.right - S(5), B.top + S(138) + S(200)};
    g.refreshAdaptersButtonRect = At(B.left + S(5), B.top + S(110), S(210), S(22));
    g.closeAdapterButtonRect = At(B.left + S(250), B.top + S(110), S(240), S(22));
    g.findAndConfigureButtonRect = At(B.left + S(5), B.top + S(343), S(210), S(22));
    // The search LED sits a fixed 10 pixels right of the Find And Configure button and 3 below its top.
    g.searchLedRect = At(g.findAndConfigureButtonRect.right + 10, g.findAndConfigureButtonRect.top + 3, S(32), S(16));
    g.browserComboRect = At(B.right - S(5) - S(108), B.top + S(343), S(108), S(22));
    for (int k = 0; k < 10; ++k) {
        const Rect L = At(B.left + S(9) + k * S(85), B.top + S(410), S(32), S(16));
        g.ledRect[k] = L;
        g.ledLabelRect[k] = {L.left - S(1), L.top - S(16) - S(2), L.left - S(1) + S(34), L.top - S(2)};
        g.ledLabel[k] = L"QEL " + std::to_wstring(k + 1);
    }
    return g;
}

Rect PlaceKeepingTopRight(const Rect& previousWindow, int width, int height) {
    return {previousWindow.right - width, previousWindow.top, previousWindow.right, previousWindow.top + height};
}

Rect KeepWithin(const Rect& window, const Rect& area) {
    int dx = 0, dy = 0;
    if (window.right > area.right) dx = area.right - window.right;
    if (window.left + dx < area.left) dx = area.left - window.left;
    if (window.bottom > area.bottom) dy = area.bottom - window.bottom;
    if (window.top + dy < area.top) dy = area.top - window.top;
    return {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

FontSpec DialogFont(int index, double s) {
    switch (index) {
        case 0: return {L"Calibri", Scaled(s, 15), 700};
        case 1: return {L"Calibri", Scaled(s, 25), 700};
        case 2: return {L"Arial", Scaled(s, 14), 400};
        default: return {L"Consolas", Scaled(s, 13), 400};
    }
}

ScaleFactors ScaleFactorsForMonitorHeight(double height) {
    if (height > 1080.0) {
        const double s = std::fabs(height / 1080.0);
        return {s, s > 2.0 ? s : 2.0};
    }
    return {1.0, 2.0};
}

double LargestScaleWithin(int width, int height) {
    // s * 850 <= width implies S(850) <= width, whatever the rounding.
    return std::min(width / 850.0, height / 550.0);
}

ScaleFactors ScaleFactorsForMonitor(double monitorHeight, int workWidth, int workHeight) {
    const ScaleFactors fromHeight = ScaleFactorsForMonitorHeight(monitorHeight);
    const double maximum = std::max(1.0, std::min(fromHeight.maximum, LargestScaleWithin(workWidth, workHeight)));
    return {std::min(fromHeight.scale, maximum), maximum};
}

double ScaleAfterWheel(double s, double maximum, int zDelta) {
    if (zDelta == 120) {
        s += 0.025;
        if (s > maximum) s = maximum;
    } else if (zDelta == -120) {
        s -= 0.025;
        if (s < 1.0) s = 1.0;
    }
    return s;
}
