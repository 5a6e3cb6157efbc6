// The dialog geometry at the reference scale, rounding at fractional scales, the flipped
// layout, the scale factor chosen from the monitor and the wheel steps.
#include <gtest/gtest.h>

#include "ui/Layout.h"

namespace {

Rect R(int l, int t, int r, int b) { return {l, t, r, b}; }
Rect At(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

TEST(LayoutGeometry, EveryRectangleAtScaleOneStandardLayout) {
    const DialogGeometry g = ComputeDialogGeometry(1.0, true);
    EXPECT_EQ(g.width, 850);
    EXPECT_EQ(g.height, 550);
    EXPECT_EQ(g.dialogRect, R(0, 0, 850, 550));
    EXPECT_EQ(g.dragFlipArea, R(0, 0, 30, 550));
    EXPECT_EQ(g.titleBarRect, R(35, 0, 850, 25));
    EXPECT_EQ(g.bodyRect, R(35, 30, 850, 550));
    EXPECT_EQ(g.closeButtonRect, R(825, 0, 850, 25));
    EXPECT_EQ(g.minimizeButtonRect, R(798, 0, 823, 25));
    EXPECT_EQ(g.bannerRect, R(613, 490, 848, 548));
    EXPECT_EQ(g.hintTextRect, R(40, 520, 850, 545));
    EXPECT_EQ(g.titleTextRect, R(40, 0, 845, 25));
    EXPECT_EQ(g.adapterListRect, At(40, 35, 805, 100));
    EXPECT_EQ(g.refreshAdaptersButtonRect, At(40, 140, 210, 22));
    EXPECT_EQ(g.closeAdapterButtonRect, At(285, 140, 240, 22));
    EXPECT_EQ(g.instanceListRect, At(40, 168, 805, 200));
    EXPECT_EQ(g.findAndConfigureButtonRect, At(40, 373, 210, 22));
    EXPECT_EQ(g.searchLedRect, At(260, 376, 32, 16));
    EXPECT_EQ(g.browserComboRect, At(737, 373, 108, 22));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(g.ledRect[k], At(44 + 85 * k, 440, 32, 16)) << k;
        EXPECT_EQ(g.ledLabelRect[k], R(43 + 85 * k, 422, 77 + 85 * k, 438)) << k;
        EXPECT_EQ(g.ledLabel[k], L"QEL " + std::to_wstring(k + 1));
    }
    EXPECT_EQ(g.ledLabel[9], L"QEL 10");
}

TEST(LayoutGeometry, EachScaledLengthIsRoundedOnItsOwn) {
    EXPECT_EQ(Scaled(1.1, 30), 33);
    EXPECT_EQ(Scaled(1.1, 5), 6);    // 5.5 rounds up
    EXPECT_EQ(Scaled(1.1, 25), 28);  // 27.5 rounds up
    EXPECT_EQ(Scaled(-1.1, 5), -6);  // halves away from zero on both sides

    const DialogGeometry g = ComputeDialogGeometry(1.1, true);
    EXPECT_EQ(g.titleBarRect.left, 39);  // S(30) + S(5) = 33 + 6
    EXPECT_EQ(g.bodyRect.top, 6 + 28);   // S(5) + S(25) = 34, where S(30) would be 33
    EXPECT_EQ(g.titleBarRect.bottom, 28);
    EXPECT_EQ(g.width, 935);
    EXPECT_EQ(g.height, 605);
    // The LED pitch adds k separately rounded S(85) = 94 (93.5 rounds up).
    EXPECT_EQ(g.ledRect[9].left - g.ledRect[0].left, 9 * 94);
    // The search LED's 10 and 3 stay unscaled.
    EXPECT_EQ(g.searchLedRect.left, g.findAndConfigureButtonRect.right + 10);
    EXPECT_EQ(g.searchLedRect.top, g.findAndConfigureButtonRect.top + 3);
}

TEST(LayoutGeometry, FlippedLayoutMirrorsPanelsButtonsAndBanner) {
    const DialogGeometry g = ComputeDialogGeometry(1.0, false);
    EXPECT_EQ(g.dragFlipArea, R(820, 0, 850, 550));
    EXPECT_EQ(g.titleBarRect, R(0, 0, 815, 25));
    EXPECT_EQ(g.bodyRect, R(0, 30, 815, 550));
    EXPECT_EQ(g.closeButtonRect, R(0, 0, 25, 25));
    EXPECT_EQ(g.minimizeButtonRect, R(27, 0, 52, 25));
    EXPECT_EQ(g.bannerRect, R(2, 490, 237, 548));
    EXPECT_EQ(g.hintTextRect, R(0, 520, 810, 545));
    EXPECT_EQ(g.titleTextRect, R(5, 0, 810, 25));
    EXPECT_EQ(g.adapterListRect, At(5, 35, 805, 100));
    EXPECT_EQ(g.browserComboRect, At(702, 373, 108, 22));
    EXPECT_EQ(g.ledRect[0], At(9, 440, 32, 16));
}

Rect Mirrored(const Rect& r, int width) { return {width - r.right, r.top, width - r.left, r.bottom}; }
Rect Shifted(const Rect& r, int dx) { return {r.left + dx, r.top, r.right + dx, r.bottom}; }

TEST(LayoutGeometry, FlipMirrorsThePanelsAndMovesTheControlsWithTheBodyAtEveryScale) {
    for (double s : {1.0, 1.1, 1.3333333333333333, 2.0}) {
        const DialogGeometry a = ComputeDialogGeometry(s, true);
        const DialogGeometry b = ComputeDialogGeometry(s, false);
        const int w = a.width;
        EXPECT_EQ(b.width, w) << s;
        EXPECT_EQ(b.height, a.height) << s;
        // Panels, the two buttons, the banner, the title and the hint line swap sides.
        for (Rect DialogGeometry::*r : {&DialogGeometry::dragFlipArea, &DialogGeometry::titleBarRect,
                                        &DialogGeometry::bodyRect, &DialogGeometry::closeButtonRect,
                                        &DialogGeometry::minimizeButtonRect, &DialogGeometry::bannerRect,
                                        &DialogGeometry::titleTextRect, &DialogGeometry::hintTextRect})
            EXPECT_EQ(b.*r, Mirrored(a.*r, w)) << s;
        // The controls keep their order and move with the body, by the drag bar and its gap.
        const int dx = b.bodyRect.left - a.bodyRect.left;
        EXPECT_EQ(dx, -(Scaled(s, 30) + Scaled(s, 5))) << s;
        for (Rect DialogGeometry::*r : {&DialogGeometry::adapterListRect, &DialogGeometry::instanceListRect,
                                        &DialogGeometry::refreshAdaptersButtonRect, &DialogGeometry::closeAdapterButtonRect,
                                        &DialogGeometry::findAndConfigureButtonRect, &DialogGeometry::searchLedRect,
                                        &DialogGeometry::browserComboRect})
            EXPECT_EQ(b.*r, Shifted(a.*r, dx)) << s;
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(b.ledRect[k], Shifted(a.ledRect[k], dx)) << s << " LED " << k;
            EXPECT_EQ(b.ledLabelRect[k], Shifted(a.ledLabelRect[k], dx)) << s << " LED " << k;
        }
    }
}

TEST(LayoutGeometry, PlacementKeepsTheTopRightCorner) {
    const Rect window{1060, 10, 1910, 560};
    const Rect placed = PlaceKeepingTopRight(window, 1700, 1100);
    EXPECT_EQ(placed, R(210, 10, 1910, 1110));
    EXPECT_EQ(PlaceKeepingTopRight(placed, 850, 550), window);
}

TEST(LayoutGeometry, PanelsLeaveGapStripsOutsideTheRegion) {
    const DialogGeometry g = ComputeDialogGeometry(1.0, true);
    // The column between drag bar and the other panels and the row under the title bar.
    for (int y = 1; y < 549; y += 37) {
        EXPECT_FALSE(g.dragFlipArea.ContainsStrict(32, y));
        EXPECT_FALSE(g.titleBarRect.ContainsStrict(32, y));
        EXPECT_FALSE(g.bodyRect.ContainsStrict(32, y));
    }
    EXPECT_FALSE(g.titleBarRect.ContainsStrict(400, 27));
    EXPECT_FALSE(g.bodyRect.ContainsStrict(400, 27));
}

TEST(LayoutGeometry, FontsScaleTheirHeights) {
    EXPECT_EQ(std::wstring(DialogFont(0, 1.0).face), L"Calibri");
    EXPECT_EQ(DialogFont(0, 1.0).height, 15);
    EXPECT_EQ(DialogFont(0, 1.0).weight, 700);
    EXPECT_EQ(DialogFont(1, 2.0).height, 50);
    EXPECT_EQ(std::wstring(DialogFont(2, 1.0).face), L"Arial");
    EXPECT_EQ(DialogFont(2, 1.1).height, 15);
    EXPECT_EQ(DialogFont(2, 1.0).weight, 400);
    EXPECT_EQ(std::wstring(DialogFont(3, 1.0).face), L"Consolas");
    EXPECT_EQ(DialogFont(3, 1.5).height, 20);  // 19.5 rounds up
}

TEST(LayoutScaleFactor, MonitorHeightChoosesScaleAndWheelMaximum) {
    struct Case { double height, scale, maximum; };
    for (const Case& c : {Case{720, 1.0, 2.0}, Case{1080, 1.0, 2.0}, Case{1440, 1440.0 / 1080.0, 2.0},
                          Case{2160, 2.0, 2.0}, Case{2880, 2880.0 / 1080.0, 2880.0 / 1080.0}}) {
        const ScaleFactors f = ScaleFactorsForMonitorHeight(c.height);
        EXPECT_DOUBLE_EQ(f.scale, c.scale) << c.height;
        EXPECT_DOUBLE_EQ(f.maximum, c.maximum) << c.height;
    }
}

TEST(LayoutScaleFactor, WheelStepsAreClampedAndOddDeltasKeepTheScale) {
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(1.0, 2.0, 120), 1.025);
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(1.0, 2.0, -120), 1.0);
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(1.01, 2.0, -120), 1.0);
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(1.99, 2.0, 120), 2.0);
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(2.6667, 2.6667, 120), 2.6667);
    EXPECT_DOUBLE_EQ(ScaleAfterWheel(2.6667, 2.6667, -120), 2.6667 - 0.025);
    for (int delta : {0, 60, -60, 240, -240, 121})
        EXPECT_DOUBLE_EQ(ScaleAfterWheel(1.3, 2.0, delta), 1.3) << delta;
    // Steps accumulate as plain sums; forty notches up reach the maximum exactly by the clamp.
    double s = 1.0;
    for (int i = 0; i < 45; ++i) s = ScaleAfterWheel(s, 2.0, 120);
    EXPECT_DOUBLE_EQ(s, 2.0);
    for (int i = 0; i < 45; ++i) s = ScaleAfterWheel(s, 2.0, -120);
    EXPECT_DOUBLE_EQ(s, 1.0);
}

TEST(LayoutScaleFactor, TheWindowFitsTheWorkAreaAtTheLargestScale) {
    struct Case { double monitorHeight; int workWidth, workHeight; double scale, maximum; };
    for (const Case& c : {
             // 1920 x 1080 without a task bar: the height limits, 1080 / 550.
             Case{1080, 1920, 1080, 1.0, 1080.0 / 550.0},
             // With a 40-pixel task bar the window grows less.
             Case{1080, 1920, 1040, 1.0, 1040.0 / 550.0},
             // Tall enough: the monitor's own factors stand.
             Case{1440, 2560, 1400, 1440.0 / 1080.0, 2.0},
             Case{2160, 3840, 2120, 2.0, 2.0},
             // A portrait monitor: the width limits the monitor-derived factor too.
             Case{1920, 1080, 1880, 1080.0 / 850.0, 1080.0 / 850.0},
             // Smaller than the window at 1.0: never below 1.0.
             Case{768, 800, 560, 1.0, 1.0},
         }) {
        const ScaleFactors f = ScaleFactorsForMonitor(c.monitorHeight, c.workWidth, c.workHeight);
        EXPECT_DOUBLE_EQ(f.scale, c.scale) << c.monitorHeight << " " << c.workWidth << "x" << c.workHeight;
        EXPECT_DOUBLE_EQ(f.maximum, c.maximum) << c.monitorHeight << " " << c.workWidth << "x" << c.workHeight;
        if (f.maximum > 1.0) {
            EXPECT_LE(Scaled(f.maximum, 850), c.workWidth);
            EXPECT_LE(Scaled(f.maximum, 550), c.workHeight);
        }
    }
    // The wheel stops at the limit: forty notches from 1.0 on a 1080-pixel work area.
    const ScaleFactors f = ScaleFactorsForMonitor(1080, 1920, 1080);
    double s = f.scale;
    for (int i = 0; i < 45; ++i) s = ScaleAfterWheel(s, f.maximum, 120);
    const DialogGeometry g = ComputeDialogGeometry(s, true);
    EXPECT_EQ(g.height, 1080);
    EXPECT_EQ(g.width, 1669);
}

TEST(LayoutScaleFactor, KeepWithinMovesTheWindowBackIntoTheWorkArea) {
    const Rect work{0, 0, 1920, 1040};
    // Grown from its top-right corner at (1910, 10) to the full height: moved up.
    EXPECT_EQ(KeepWithin({241, 10, 1910, 1050}, work), (Rect{241, 0, 1910, 1040}));
    // Already inside: unchanged.
    EXPECT_EQ(KeepWithin({1060, 10, 1910, 560}, work), (Rect{1060, 10, 1910, 560}));
    // Dragged past the left and bottom edges.
    EXPECT_EQ(KeepWithin({-100, 900, 750, 1450}, work), (Rect{0, 490, 850, 1040}));
    // Past the right edge of a second monitor's work area.
    EXPECT_EQ(KeepWithin({3000, 100, 3850, 650}, Rect{1920, 0, 3840, 1080}), (Rect{2990, 100, 3840, 650}));
    // Larger than the area: the top-left corner stays reachable.
    EXPECT_EQ(KeepWithin({-50, -20, 850, 580}, Rect{0, 0, 800, 560}), (Rect{0, 0, 900, 600}));
}

}  // namespace
