#include "ui/ColumnWidths.h"

#include <cmath>

double MeasureColumnWidth(const std::wstring& header, const ListTable& list, int column,
                          const TextWidthMeasure& measure) {
    std::wstring longest;
    const int rows = list.RowCount();
    for (int row = 0; row < rows; ++row) {
        std::wstring cell = list.Cell(row, column);
        if (cell.size() > longest.size()) longest = std::move(cell);
    }
    const std::wstring& text = header.size() > longest.size() ? header : longest;
    const double n = static_cast<double>(text.size());
    const double pixels = measure ? static_cast<double>(measure(text)) : 0.0;
    // A column whose header and cells are all empty has nothing to measure.
    if (n == 0.0) return 50.0;
    const double width = pixels * (n + 2.0) / n;
    return width < 1.0 ? 50.0 : width;
}

std::vector<int> DistributeColumnWidths(const std::vector<double>& measured, int listWidth, bool hasVerticalScrollBar) {
    const int n = static_cast<int>(measured.size());
    std::vector<int> widths(n);
    if (n == 0) return widths;
    long long total = 0;
    for (int c = 0; c < n; ++c) {
        widths[c] = static_cast<int>(std::lround(measured[c]));
        total += widths[c];
    }
    int extra = 0, remaining = 0;
    if (total < listWidth) {
        extra = static_cast<int>((listWidth - total) / n);
        remaining = listWidth;
    }
    for (int c = 0; c < n; ++c) {
        widths[c] += extra;
        if (c == n - 1 && extra != 0) {
            widths[c] = remaining - (hasVerticalScrollBar ? 22 : 5);
            // A negative width would read as one of the list's auto-size requests.
            if (widths[c] < 0) widths[c] = 0;
        } else {
            remaining -= widths[c];
        }
    }
    return widths;
}

std::vector<int> ColumnWidthOrder(const std::vector<int>& current, const std::vector<int>& target) {
    std::vector<int> order;
    const int n = static_cast<int>(target.size());
    for (int narrowing = 1; narrowing >= 0; --narrowing)
        for (int c = 0; c < n; ++c) {
            const bool narrower = c < static_cast<int>(current.size()) && target[c] < current[c];
            if (narrower == (narrowing == 1)) order.push_back(c);
        }
    return order;
}
