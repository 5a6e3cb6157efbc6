// Mouse interaction, hover and the Ctrl key (scale mode): the core decides, this file
// carries out what it asks for.
#include "app/CtarnwickDlgWin32.h"
#include "common/ProgramControl.h"
#include "supervision/SearchState.h"
#include "ui/Chrome.h"

namespace {

ChromeState StateOf(CtarnwickDlg& d) {
    return {d.mouseOverArea, d.mouseTracking, d.ctrlKeyDown, d.standardLayout, d.hintText};
}

ChromeRects RectsOf(const CtarnwickDlg& d) {
    return {d.closeButtonRect, d.minimizeButtonRect, d.dragFlipArea, d.titleBarRect};
}

// The id of the dialog's own control that holds `window` (0 for the dialog's surface). A
// control's inner windows carry ids of their own: the edit field of a drop-down combo box
// has id 1001, the same as the instance table (IDC_LIST_QEL_CONFIGURATION_DATA).
int ControlIdUnder(HWND dialog, HWND window) {
    while (window && window != dialog) {
        const HWND parent = GetAncestor(window, GA_PARENT);
        if (parent == dialog) return GetDlgCtrlID(window);
        window = parent;
    }
    return 0;
}

void Repaint(CtarnwickDlg& d, const ChromeActions& actions) {
    if (actions.invalidate) d.Invalidate();
    else if (actions.invalidateHint) d.InvalidateHintLine();
}

}  // namespace

void CtarnwickDlg::OnMouseMove(UINT, POINT point) {
    ChromeState state = StateOf(*this);
    const ChromeActions actions = HandleMouseMove(state, RectsOf(*this), point.x, point.y);
    if (actions.trackMouseLeave) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd_;
        track.dwHoverTime = HOVER_DEFAULT;
        TrackMouseEvent(&track);
    }
    Repaint(*this, actions);
    DefaultProcessing();
}

void CtarnwickDlg::OnMouseLeave() {
    ChromeState state = StateOf(*this);
    const ChromeActions actions = HandleMouseLeave(state);
    Repaint(*this, actions);
    if (actions.requestHint) {
        // The dialog's own control under the mouse (not a window inside it, such as a combo
        // box's edit field), or none when the mouse is over the dialog's surface or outside.
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(hwnd_, &cursor);
        HWND child = ChildWindowFromPointEx(hwnd_, cursor, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
        const int id = child && child != hwnd_ ? ::GetDlgCtrlID(child) : 0;
        PostMessageW(hwnd_, programControlMessage, pcHintRequest, id);
    }
    DefaultProcessing();
}

BOOL CtarnwickDlg::OnSetCursor(HWND window, UINT, UINT) {
    const int id = ControlIdUnder(hwnd_, window);
    ChromeState state = StateOf(*this);
    const CursorChoice choice = ChooseCursor(state, id);
    if (choice.requestHint) PostMessageW(hwnd_, programControlMessage, pcHintRequest, id);
    if (choice.handCursor) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    DefaultProcessing();
    return FALSE;
}

void CtarnwickDlg::OnLButtonDown(UINT, POINT point) {
    ChromeState state = StateOf(*this);
    if (HandleButtonDown(state, RectsOf(*this), point.x, point.y).drag)
        PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    DefaultProcessing();
}

void CtarnwickDlg::OnLButtonUp(UINT, POINT point) {
    ChromeState state = StateOf(*this);
    const ChromeActions actions =
        HandleButtonUp(state, RectsOf(*this), point.x, point.y, findQelDevThreadRunning_g.load());
    // The system close closes every backend first.
    if (actions.closeProcessesAndClose) SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (actions.stopSearchAndClose) {
        // The end-of-search handling closes the backends and then the dialog.
        RequestSearchStopAndCloseApp();
    }
    if (actions.minimize) SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (actions.findAndConfigureLabel) findAndConfigureButton.SetWindowText(actions.findAndConfigureLabel);
    if (actions.autoScale) {
        SetScaleFactor();
        ConfigureDialogWindow();
    }
    DefaultProcessing();
}

void CtarnwickDlg::OnLButtonDblClk(UINT, POINT point) {
    ChromeState state = StateOf(*this);
    if (HandleDoubleClick(state, RectsOf(*this), point.x, point.y).relayout) ConfigureDialogWindow();
    DefaultProcessing();
}

BOOL CtarnwickDlg::PreTranslateMessage(MSG* msg) {
    if (HandleChooserKey(*msg)) return TRUE;
    if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->wParam == VK_CONTROL) {
        ChromeState state = StateOf(*this);
        const ChromeActions actions = HandleCtrlKey(state, msg->message == WM_KEYDOWN);
        if (actions.findAndConfigureLabel) findAndConfigureButton.SetWindowText(actions.findAndConfigureLabel);
        Repaint(*this, actions);
    }
    return DialogBase::PreTranslateMessage(msg);
}
