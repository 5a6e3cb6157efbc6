// Column widths of the two lists: each column measured by its longest text in the list
// font, the spare width of the list shared out evenly, the last column taking the rest.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/ListTable.h"

// Width in pixels of a text in the list font; 0 when it cannot be measured.
using TextWidthMeasure = std::function<int(const std::wstring&)>;

// The width a column needs: the cell text with the most characters (the first on a tie),
// or the header text when it has strictly more; its pixel width plus the average width of
// two characters. Falls back to 50.0 when the measurement is below 1 pixel.
double MeasureColumnWidth(const std::wstring& header, const ListTable& list, int column,
                          const TextWidthMeasure& measure);

// Final widths for a list listWidth pixels wide. When the measured widths fit, each column
// gets an equal share (integer division) of the spare width and the last column takes what
// is left, less 22 pixels for a vertical scroll bar or 5 without one; otherwise each column
// keeps its measured width.
std::vector<int> DistributeColumnWidths(const std::vector<double>& measured, int listWidth, bool hasVerticalScrollBar);

// The order in which a list's columns take their new widths: first those that get narrower,
// then the others, each group from left to right. So the columns together are never wider
// than before or after: widening one first could make them wider than the list for a
// moment, and a list on the screen would show its horizontal scroll bar and hide it again.
std::vector<int> ColumnWidthOrder(const std::vector<int>& current, const std::vector<int>& target);
