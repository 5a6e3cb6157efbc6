// In-place editing of the instance table: the decisions behind a double-click on a cell
// and the closing of the startup-file chooser.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/ListTable.h"
#include "common/Rect.h"

// What a double-click on cell (row, column) of the instance table does.
enum class InstanceDoubleClick { nothing, openWebBrowser, openStartupFileChooser, assignAdapter };

// The web page opens even while a search runs; the two edits are refused then. The chooser
// needs an existing row; the adapter assignment also runs for a click below the last row.
InstanceDoubleClick ClassifyInstanceDoubleClick(int row, int column, int rowCount, bool searchRunning);

// A startup file: a name other than "." and ".." whose last "." is followed by "xml" or
// "XML" (only those three characters are compared, so "a.xmlx" qualifies, "a.Xml" does not).
bool IsStartupFileName(const std::wstring& name);

// The enumeration pattern of an instance's file-system folder, or empty when there is no
// folder to look in (the folders were not found, or the row has no FS name).
std::wstring StartupFileSearchPattern(const std::wstring& exeDrive, const std::wstring& fileSystemFoldersPath,
                                      const std::wstring& fsName);

// Where the chooser goes: over the cell, two pixels in from its left edge, the cell's size.
// `listInDialog` is the list's rectangle in the dialog's client coordinates, `cellInList`
// the cell's bounds in the list's client coordinates.
Rect StartupFileChooserPlacement(const Rect& listInDialog, const Rect& cellInList);

// The chooser over the cell (from StartupFileChooserPlacement), widened when the longest
// name offered would not fit its field beside the arrow button. It stays wholly inside
// `tableClient` (the table's client area in the dialog's client coordinates): it moves left
// from the right edge, right from the left edge, and is never wider than the table, so the
// arrow button is always in sight. The names that the field cuts fit the drop-down list
// (StartupFileChooserListWidth).
Rect StartupFileChooserField(const Rect& overCell, const Rect& tableClient, int longestNameWidth,
                             int arrowButtonWidth);

// The width of the chooser's drop-down list: room for the longest name as far as `room`
// (from the field's left edge to the screen's right edge) allows, at least the field's.
int StartupFileChooserListWidth(const Rect& field, int longestNameWidth, int arrowButtonWidth, int room);

// The index of the entry that reads exactly `name` (case-sensitive), or -1.
int IndexOfEntry(const std::vector<std::wstring>& entries, const std::wstring& name);

// Gives the adapter selected in the adapter list (its first selected row) to every
// instance without one and to row `row` (nothing for -1). Returns false, changing nothing,
// when no adapter is selected or its name is empty.
bool AssignSelectedAdapter(const ListTable& adapters, ListTable& instances, int row);

// Applies the entry chosen in the startup-file chooser to row `row`: when it differs from
// the row's startup file, `update` writes it to the configuration file, and only when that
// succeeds the cell takes the name and the row's repository is marked for reset.
// `chosen` is null when the chooser has no selection. Returns true when the row changed.
bool ApplyStartupFileChoice(ListTable& instances, int row, const std::wstring* chosen,
                            bool (&repositoryResetPending)[maxInstances],
                            const std::function<int(const std::wstring&)>& update);
