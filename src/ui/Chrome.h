// The window chrome's behaviour: hover flags, scale mode (Ctrl held), dragging, flipping
// and the own close and minimize buttons. Each handler updates the dialog's flags and
// says which platform actions the caller must take.
#pragma once

#include <string>

#include "common/Rect.h"

namespace ChromeText {
constexpr const wchar_t* wheelHint = L"Use the mouse wheel to scale the dialog.";
constexpr const wchar_t* autoScaleHint = L"Click to automatically scale the dialog.";
constexpr const wchar_t* closeAllLabel = L"Close All Running Processes";
constexpr const wchar_t* findAndConfigureLabel = L"Find And Configure QEL Devices";
}  // namespace ChromeText

// Indices of the hover flags.
enum HoverArea { overCloseButton = 0, overMinimizeButton = 1, overDragBar = 2, overTitleBar = 3 };

// The rectangles the mouse is tested against (client coordinates).
struct ChromeRects {
    Rect closeButton;
    Rect minimizeButton;
    Rect dragFlipArea;
    Rect titleBar;
};

// The dialog's own flags, by reference.
struct ChromeState {
    bool (&mouseOverArea)[4];
    bool& mouseTracking;
    bool& ctrlKeyDown;
    bool& standardLayout;
    std::wstring& hintText;
};

struct ChromeActions {
    bool invalidate = false;       // repaint the whole dialog
    bool invalidateHint = false;   // only the hint line changed: repaint just its rectangle
    bool trackMouseLeave = false;  // ask for a mouse-leave notification
    bool requestHint = false;      // post the hint request (pcHintRequest) for what lies under the mouse now
    bool drag = false;             // let the system move the window with the mouse
    bool closeProcessesAndClose = false;  // close all backends, then close the dialog
    bool stopSearchAndClose = false;      // ask the search to stop; the dialog closes after it
    bool minimize = false;
    bool autoScale = false;  // scale factor from the monitor again, then a layout pass
    bool relayout = false;   // orientation changed: a layout pass
    const wchar_t* findAndConfigureLabel = nullptr;  // new caption of the Find And Configure button, if any
};

ChromeActions HandleMouseMove(ChromeState& state, const ChromeRects& rects, int x, int y);
// The mouse left the dialog's own surface, for a child control or out of the window. In
// scale mode the hint turns to the wheel hint; otherwise the hint is asked for anew for what
// lies under the mouse now (a control's hint, or none), since the control's own request may
// have come before this notification. Repaints the whole dialog only when a hover flag was
// set, the hint line alone when only the hint changed.
ChromeActions HandleMouseLeave(ChromeState& state);
// A press drags the window when it is on the drag bar, or when the last move left the mouse
// over the title bar but over neither of its buttons.
ChromeActions HandleButtonDown(const ChromeState& state, const ChromeRects& rects, int x, int y);
// Buttons act on release, by the release position alone. The auto-scale click ends scale
// mode like the Ctrl key going up, so the Find And Configure button's label says again what a click does.
ChromeActions HandleButtonUp(ChromeState& state, const ChromeRects& rects, int x, int y, bool searchRunning);
ChromeActions HandleDoubleClick(ChromeState& state, const ChromeRects& rects, int x, int y);
// Ctrl key down (auto-repeat included) or up.
ChromeActions HandleCtrlKey(ChromeState& state, bool down);

struct CursorChoice {
    bool requestHint = false;  // post the hint request (pcHintRequest) with the control id
    bool handCursor = false;   // otherwise the default processing picks the cursor
};
// controlId: identifier of the window under the cursor, 0 for the dialog's own surface.
CursorChoice ChooseCursor(const ChromeState& state, int controlId);
