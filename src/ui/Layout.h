// The dialog's geometry: a pure function of the scale factor and the orientation.
// Every length is a scaled length S(n) = s * n rounded half away from zero, each rounded
// on its own, so S(30) + S(5) is in general not S(35).
#pragma once

#include <string>

#include "common/Rect.h"

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
    Rect adapterListRect;          // IDC_LIST_ETHERNET_NETWORK_ADAPTERS
    Rect instanceListRect;         // IDC_LIST_QEL_CONFIGURATION_DATA
    Rect refreshAdaptersButtonRect;  // IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS
    Rect closeAdapterButtonRect;     // IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER
    Rect findAndConfigureButtonRect; // IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES
    Rect searchLedRect;            // IDC_STATIC_SEARCH_LED
    Rect browserComboRect;         // IDC_COMBO_BROWSER
    Rect ledRect[10];              // IDC_STATIC_QEL1 + k
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
