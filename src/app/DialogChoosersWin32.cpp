// Enter and Escape inside the two choosers: the startup-file chooser (IDC_COMBO_CHOICE) while
// it is shown and the browser chooser (IDC_COMBO_BROWSER) while its list is dropped down.
#include "app/CtarnwickDlgWin32.h"
#include "ui/ChooserKeys.h"

namespace {

// The key went to the combo box or to a window of it: its edit field, or its drop-down
// list (a pop-up, whose GetParent is its owner).
bool IsInside(const ComboBox& combo, HWND window) {
    for (HWND w = window; w; w = GetParent(w))
        if (w == combo.GetSafeHwnd()) return true;
    return false;
}

}  // namespace

void CtarnwickDlg::OnDropdownBrowserCombo() { browserSelectionAtDropDown = browserCombo.GetCurSel(); }

bool CtarnwickDlg::HandleChooserKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    const unsigned key = static_cast<unsigned>(msg.wParam);

    if (IsInside(choiceCombo, msg.hwnd)) {
        const ChooserKeyAction action = ChooserKeyActionFor(key, choiceCombo.IsWindowVisible());
        if (action == ChooserKeyAction::passOn) return false;
        // Enter leaves the highlighted entry selected, so the close-up takes it as a click would.
        startupChoiceCancelled = action == ChooserKeyAction::closeWithoutChoice;
        if (choiceCombo.GetDroppedState()) choiceCombo.ShowDropDown(false);  // sends the close-up
        if (choiceCombo.IsWindowVisible()) OnCloseupCombo2();
        return true;
    }

    if (IsInside(browserCombo, msg.hwnd)) {
        const ChooserKeyAction action = ChooserKeyActionFor(key, browserCombo.GetDroppedState());
        if (action == ChooserKeyAction::passOn) return false;
        const int chosen =
            action == ChooserKeyAction::takeHighlighted ? browserCombo.GetCurSel() : browserSelectionAtDropDown;
        browserCombo.ShowDropDown(false);
        browserCombo.SetCurSel(chosen);  // -1: nothing was chosen before, nothing is now
        return true;
    }
    return false;
}
