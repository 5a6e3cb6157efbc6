#include "ui/Chrome.h"

#include "resource.h"
#include "ui/Layout.h"

namespace {

// Sets or clears one hover flag on entering or leaving its rectangle; true when it changed.
bool Track(bool& flag, const Rect& rect, int x, int y) {
    const bool inside = rect.ContainsStrict(x, y);
    if (inside == flag) return false;
    flag = inside;
    return true;
}

// Scale mode ends (Ctrl up or the auto-scale click): the label and the hint say so.
void EndScaleMode(ChromeState& state, ChromeActions& actions) {
    state.ctrlKeyDown = false;
    state.hintText.clear();
    actions.findAndConfigureLabel = ChromeText::findAndConfigureLabel;
    actions.invalidate = true;
}

}  // namespace

ChromeActions HandleMouseMove(ChromeState& state, const ChromeRects& rects, int x, int y) {
    ChromeActions actions;
    if (!state.mouseTracking) {
        actions.trackMouseLeave = true;
        state.mouseTracking = true;
    }
    bool* over = state.mouseOverArea;
    if (Track(over[overCloseButton], rects.closeButton, x, y)) actions.invalidate = true;
    if (Track(over[overMinimizeButton], rects.minimizeButton, x, y)) {
        if (state.ctrlKeyDown)
            state.hintText = over[overMinimizeButton] ? ChromeText::autoScaleHint : ChromeText::wheelHint;
        actions.invalidate = true;
    }
    if (Track(over[overDragBar], rects.dragFlipArea, x, y)) actions.invalidate = true;
    if (Track(over[overTitleBar], rects.titleBar, x, y)) actions.invalidate = true;
    return actions;
}

ChromeActions HandleMouseLeave(ChromeState& state) {
    ChromeActions actions;
    state.mouseTracking = false;
    for (bool& over : state.mouseOverArea) {
        if (over) actions.invalidate = true;
        over = false;
    }
    if (!state.ctrlKeyDown) {
        actions.requestHint = true;
    } else if (state.hintText != ChromeText::wheelHint) {
        state.hintText = ChromeText::wheelHint;
        actions.invalidateHint = !actions.invalidate;
    }
    return actions;
}

ChromeActions HandleButtonDown(const ChromeState& state, const ChromeRects& rects, int x, int y) {
    const bool* over = state.mouseOverArea;
    ChromeActions actions;
    // One drag request even if both rules hold: a second would start another move loop
    // after the first has ended.
    actions.drag = rects.dragFlipArea.ContainsStrict(x, y) ||
                   (over[overTitleBar] && !over[overCloseButton] && !over[overMinimizeButton]);
    return actions;
}

ChromeActions HandleButtonUp(ChromeState& state, const ChromeRects& rects, int x, int y, bool searchRunning) {
    ChromeActions actions;
    if (rects.closeButton.ContainsStrict(x, y)) {
        if (searchRunning)
            actions.stopSearchAndClose = true;
        else
            actions.closeProcessesAndClose = true;
    }
    if (rects.minimizeButton.ContainsStrict(x, y)) {
        if (state.ctrlKeyDown) {
            EndScaleMode(state, actions);
            actions.autoScale = true;
        } else {
            actions.minimize = true;
        }
    }
    return actions;
}

ChromeActions HandleDoubleClick(ChromeState& state, const ChromeRects& rects, int x, int y) {
    ChromeActions actions;
    if (rects.dragFlipArea.ContainsStrict(x, y)) {
        state.standardLayout = !state.standardLayout;
        actions.relayout = true;
    }
    return actions;
}

ChromeActions HandleCtrlKey(ChromeState& state, bool down) {
    ChromeActions actions;
    if (down && !state.ctrlKeyDown) {
        state.ctrlKeyDown = true;
        state.hintText = state.mouseOverArea[overMinimizeButton] ? ChromeText::autoScaleHint : ChromeText::wheelHint;
        actions.findAndConfigureLabel = ChromeText::closeAllLabel;
        actions.invalidate = true;
    } else if (!down && state.ctrlKeyDown) {
        EndScaleMode(state, actions);
    }
    return actions;
}

CursorChoice ChooseCursor(const ChromeState& state, int controlId) {
    CursorChoice choice;
    choice.requestHint = !state.ctrlKeyDown;
    const bool clickableControl =
        controlId == IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER || controlId == IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS ||
        controlId == IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES || controlId == IDC_LIST_ETHERNET_NETWORK_ADAPTERS ||
        controlId == IDC_LIST_QEL_CONFIGURATION_DATA ||
        (controlId >= IDC_STATIC_QEL1 && controlId <= IDC_STATIC_QEL10);
    const bool* over = state.mouseOverArea;
    choice.handCursor = clickableControl || over[overCloseButton] || over[overMinimizeButton] || over[overDragBar];
    return choice;
}
