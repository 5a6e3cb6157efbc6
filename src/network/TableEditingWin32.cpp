// In-place editing of the instance table by double-click.
#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "supervision/SearchState.h"
#include "network/TableEditing.h"

namespace {

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

    RECT cell{};
    dlg.instanceList.GetCellRect(row, colStartupFileName, cell);
    const RECT list = dlg.instanceList.GetRectInParent();
    const Rect placed = StartupFileChooserPlacement({list.left, list.top, list.right, list.bottom},
                                                    {cell.left, cell.top, cell.right, cell.bottom});
    dlg.choiceCombo.MoveWindow(placed.left, placed.top, placed.Width(), placed.Height(), globalWindowRedraw_g);
    dlg.instanceList.EnableWindow(false);
    dlg.choiceCombo.ShowWindow(SW_SHOWNA);
    dlg.choiceCombo.SetFocus();
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
    const int selection = choiceCombo.GetCurSel();
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
