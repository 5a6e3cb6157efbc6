// The dialog's geometry: a pure function of the scale factor and the orientation.
// Every length is a scaled length S(n) = s * n rounded half away from zero, each rounded
// on its own, so S(30) + S(5) is in general not S(35).
#pragma once

#include <string>

#include "common/Rect.h"

// Control identifiers of the main dialog that the chrome places and hit-tests.
namespace ControlId {
constexpr int adapterList = 1000;
constexpr int instanceList = 1001;
constexpr int refreshAdaptersButton = 1002;
constexpr int findAndConfigureButton = 1003;
constexpr int firstInstanceLed = 1004;  // 1004 + k: LED of instance k + 1
constexpr int lastInstanceLed = 1013;
constexpr int searchLed = 1014;
constexpr int browserCombo = 1015;
constexpr int closeAdapterButton = 1016;
constexpr int choiceCombo = 1018;
}  // namespace ControlId

// s * n rounded to the nearest integer, halves away from zero.
int Scaled(double s, int n);

struct DialogGeometry {
    int width = 0, height = 0;  // W = S(850), H = S(550)
    Rect dialogRect;            // (0, 0, W, H)
    Rect titleBarRect;
    Rect dragFlipArea;
    Rect bodyRect;
    Rect closeButtonRect;
    Rect minimizeButtonRect;
    Rect bannerRect;
    Rect hintTextRect;
    Rect titleTextRect;
    // Controls, in dialog client coordinates.
    Rect adapterListRect;          // 1000
    Rect instanceListRect;         // 1001
    Rect refreshAdaptersButtonRect;  // 1002
    Rect closeAdapterButtonRect;     // 1016
    Rect findAndConfigureButtonRect; // 1003
    Rect searchLedRect;            // 1014
    Rect browserComboRect;         // 1015
    Rect ledRect[10];              // 1004 + k
    Rect ledLabelRect[10];
    std::wstring ledLabel[10];     // "QEL 1" to "QEL 10"
};

DialogGeometry ComputeDialogGeometry(double s, bool standardLayout);

// The window's new screen rectangle: size W x H, keeping the previous window's right edge
// and top, so the top-right corner stays through every rescale and flip.
Rect PlaceKeepingTopRight(const Rect& previousWindow, int width, int height);

// The window moved the least distance that brings it inside the area (the monitor's work
// area); when it is larger than the area, its top-left corner is kept inside.
Rect KeepWithin(const Rect& window, const Rect& area);

// The fonts of a layout pass: fonts[0] LED captions, [1] title and hint line, [2] buttons
// and browser combo, [3] lists and the cell editor.
struct FontSpec {
    const wchar_t* face;
    int height;
    int weight;
};
FontSpec DialogFont(int index, double s);

struct ScaleFactors {
    double scale;
    double maximum;
};
// From the height of the monitor's rectangle: above 1080 pixels s = h / 1080 and the wheel
// may go up to max(2.0, s); otherwise 1.0 with a maximum of 2.0.
ScaleFactors ScaleFactorsForMonitorHeight(double height);

// The largest s at which the whole window, S(850) x S(550), fits an area of that size.
double LargestScaleWithin(int width, int height);

// The monitor-derived factors, limited so that the window fits the monitor's work area:
// the maximum never exceeds what fits (nor falls below 1.0), and s never exceeds the maximum.
ScaleFactors ScaleFactorsForMonitor(double monitorHeight, int workWidth, int workHeight);

// One wheel message in scale mode: +120 grows by 0.025 up to the maximum, -120 shrinks by
// 0.025 down to 1.0, any other delta keeps s.
double ScaleAfterWheel(double s, double maximum, int zDelta);
