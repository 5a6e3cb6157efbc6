#include "network/TableEditing.h"

#include <algorithm>

InstanceDoubleClick ClassifyInstanceDoubleClick(int row, int column, int rowCount, bool searchRunning) {
    switch (column) {
    case colQel:
        return InstanceDoubleClick::openWebBrowser;
    case colStartupFileName:
        if (searchRunning || row < 0 || row >= rowCount) return InstanceDoubleClick::nothing;
        return InstanceDoubleClick::openStartupFileChooser;
    case colEthernetAdapter:
        return searchRunning ? InstanceDoubleClick::nothing : InstanceDoubleClick::assignAdapter;
    default:
        return InstanceDoubleClick::nothing;
    }
}

bool IsStartupFileName(const std::wstring& name) {
    if (name == L"." || name == L"..") return false;
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) return false;
    const std::wstring extension = name.substr(dot + 1, 3);
    return extension == L"xml" || extension == L"XML";
}

std::wstring StartupFileSearchPattern(const std::wstring& exeDrive, const std::wstring& fileSystemFoldersPath,
                                      const std::wstring& fsName) {
    // Without the folders' path the pattern would point at the drive's root, and without
    // an FS name at the folders' parent: neither holds this instance's startup files.
    if (fileSystemFoldersPath.empty() || fsName.empty()) return {};
    return exeDrive + L"\\" + fileSystemFoldersPath + fsName + L"\\*";
}

Rect StartupFileChooserPlacement(const Rect& listInDialog, const Rect& cellInList) {
    Rect r;
    r.left = listInDialog.left + cellInList.left + 2;
    r.top = listInDialog.top + cellInList.top;
    r.right = r.left + cellInList.Width();
    r.bottom = r.top + cellInList.Height();
    return r;
}

namespace {

// Borders and the edit field's margins, beyond the text itself.
constexpr int chooserFieldPadding = 16;

int ChooserWidthForName(int longestNameWidth, int arrowButtonWidth) {
    return longestNameWidth + arrowButtonWidth + chooserFieldPadding;
}

}  // namespace

Rect StartupFileChooserField(const Rect& overCell, const Rect& tableClient, int longestNameWidth,
                             int arrowButtonWidth) {
    const int needed = ChooserWidthForName(longestNameWidth, arrowButtonWidth);
    // Never wider than the table: past its edge the table would cover the arrow button.
    const int width = std::min(std::max(overCell.Width(), needed), tableClient.Width());
    Rect r = overCell;
    r.right = r.left + width;
    const int overRight = std::max(0, r.right - tableClient.right);
    const int overLeft = std::max(0, tableClient.left - (r.left - overRight));
    r.left += overLeft - overRight;
    r.right += overLeft - overRight;
    return r;
}

int StartupFileChooserListWidth(const Rect& field, int longestNameWidth, int arrowButtonWidth, int room) {
    return std::max(field.Width(), std::min(room, ChooserWidthForName(longestNameWidth, arrowButtonWidth)));
}

int IndexOfEntry(const std::vector<std::wstring>& entries, const std::wstring& name) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == name) return static_cast<int>(i);
    return -1;
}

bool AssignSelectedAdapter(const ListTable& adapters, ListTable& instances, int row) {
    std::wstring name;
    bool found = false;
    for (int j = 0; j < adapters.RowCount() && !found; ++j) {
        if (!adapters.IsRowSelected(j)) continue;
        name = adapters.Cell(j, colName);
        found = true;
    }
    if (!found || name.empty()) return false;
    for (int r = 0; r < instances.RowCount(); ++r)
        if (instances.Cell(r, colEthernetAdapter).empty()) instances.SetCell(r, colEthernetAdapter, name);
    instances.SetCell(row, colEthernetAdapter, name);
    return true;
}

bool ApplyStartupFileChoice(ListTable& instances, int row, const std::wstring* chosen,
                            bool (&repositoryResetPending)[maxInstances],
                            const std::function<int(const std::wstring&)>& update) {
    // The chooser only opens over an existing row; a row that is gone has nothing to update.
    if (chosen == nullptr || row < 0 || row >= instances.RowCount()) return false;
    if (*chosen == instances.Cell(row, colStartupFileName)) return false;
    if (update(*chosen) == 0) return false;
    instances.SetCell(row, colStartupFileName, *chosen);
    if (row < maxInstances) repositoryResetPending[row] = true;
    return true;
}
