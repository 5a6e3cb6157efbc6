// In-place editing of the instance table by double-click.
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "network/TableEditing.h"
#include "supervision/SearchState.h"

#include <algorithm>
#include <utility>

namespace {

// The widest of the texts in the chooser's font, in pixels.
int LongestTextWidth(CtarnwickDlg& dlg, const std::vector<std::wstring>& texts) {
    WindowDc dc(dlg.choiceCombo.GetSafeHwnd());
    SelectionGuard font(dc.get(), dlg.fonts[3].get());
    int widest = 0;
    for (const std::wstring& text : texts) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

// The table's client area (no border, no scroll bar) in the dialog's client coordinates.
Rect TableClientInDialog(CtarnwickDlg& dlg) {
    const HWND table = dlg.instanceList.GetSafeHwnd();
    RECT client{};
    GetClientRect(table, &client);
    MapWindowPoints(table, GetParent(table), reinterpret_cast<POINT*>(&client), 2);
    return {client.left, client.top, client.right, client.bottom};
}

// Pixels from the left edge of `field` (in the dialog's client coordinates) to the right
// edge of the work area of its monitor.
int RoomRightOf(CtarnwickDlg& dlg, const Rect& field) {
    POINT left{field.left, field.top};
    ClientToScreen(dlg.GetSafeHwnd(), &left);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(left, MONITOR_DEFAULTTONEAREST), &monitor)) return field.Width();
    return monitor.rcWork.right - left.x;
}

// Fills the chooser with the startup files of the row's file-system folder and shows it
// over the row's "Startup File Name" cell, the table disabled until the chooser closes.
void OpenStartupFileChooser(CtarnwickDlg& dlg, int row) {
    if (dlg.fileSystemFoldersPath.empty()) dlg.GetFileSystemFolderPath();
    const std::wstring pattern =
        StartupFileSearchPattern(dlg.exeDrive, dlg.fileSystemFoldersPath, dlg.instanceList.Cell(row, colFsName));

    dlg.choiceCombo.ResetContent();
    if (!pattern.empty()) {
        WIN32_FIND_DATAW found{};
        UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
        if (find) {
            do {
                if (IsStartupFileName(found.cFileName)) dlg.choiceCombo.AddString(found.cFileName);
            } while (FindNextFileW(find.get(), &found));
        }
    }

    std::vector<std::wstring> entries;
    for (int i = 0; i < dlg.choiceCombo.GetCount(); ++i) entries.push_back(dlg.choiceCombo.GetLBText(i));
    // The current startup file is the one selected, so a close without a choice changes nothing.
    dlg.choiceCombo.SetCurSel(IndexOfEntry(entries, dlg.instanceList.Cell(row, colStartupFileName)));

    RECT cell{};
    dlg.instanceList.GetCellRect(row, colStartupFileName, cell);
    const RECT list = dlg.instanceList.GetRectInParent();
    const Rect listInDialog{list.left, list.top, list.right, list.bottom};
    const Rect overCell = StartupFileChooserPlacement(listInDialog, {cell.left, cell.top, cell.right, cell.bottom});
    const int longest = LongestTextWidth(dlg, entries);
    const int arrow = GetSystemMetrics(SM_CXVSCROLL);
    const Rect placed = StartupFileChooserField(overCell, TableClientInDialog(dlg), longest, arrow);
    SendMessageW(dlg.choiceCombo.GetSafeHwnd(), CB_SETDROPPEDWIDTH,
                 StartupFileChooserListWidth(placed, longest, arrow, RoomRightOf(dlg, placed)), 0);
    dlg.instanceList.EnableWindow(false);
    // On top of its siblings: the table, created before it, would otherwise paint over it.
    SetWindowPos(dlg.choiceCombo.GetSafeHwnd(), HWND_TOP, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | (globalWindowRedraw_g ? 0 : SWP_NOREDRAW));
    dlg.choiceCombo.SetFocus();
    // Open with the list dropped down: one double-click is enough to choose.
    dlg.choiceCombo.ShowDropDown(true);
}

}  // namespace

void CtarnwickDlg::OnNMDblclkListQelConfigurationData(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
    const int row = activate->iItem;
    selectedListItem_g = row;
    switch (ClassifyInstanceDoubleClick(row, activate->iSubItem, instanceList.RowCount(), findQelDevThreadRunning_g)) {
    case InstanceDoubleClick::openWebBrowser:
        OpenWebBrowser(row);
        break;
    case InstanceDoubleClick::openStartupFileChooser:
        OpenStartupFileChooser(*this, row);
        break;
    case InstanceDoubleClick::assignAdapter:
        AssignSelectedAdapter(adapterList, instanceList, row);
        break;
    case InstanceDoubleClick::nothing:
        break;
    }
}

void CtarnwickDlg::OnCloseupCombo2() {
    // Escape closed it: no choice, whatever the list highlighted.
    const bool cancelled = std::exchange(startupChoiceCancelled, false);
    const int selection = cancelled ? CB_ERR : choiceCombo.GetCurSel();
    std::wstring chosen;
    if (selection != CB_ERR) chosen = choiceCombo.GetLBText(selection);
    ApplyStartupFileChoice(instanceList, selectedListItem_g, selection != CB_ERR ? &chosen : nullptr,
                           repositoryResetPending,
                           [this](const std::wstring& name) { return UpdateQelConfigurationFile(name); });
    choiceCombo.ShowWindow(SW_HIDE);
    instanceList.EnableWindow(true);
    // The hidden chooser had the focus; give it back to the table so the keyboard still works.
    instanceList.SetFocus();
    ConfigureDialogWindow();
}
