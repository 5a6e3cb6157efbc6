// Column measurement (longest text, header when strictly longer, two-character allowance),
// the sharing out of the list's spare width, and the order in which the widths are applied.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/ColumnWidths.h"

namespace {

// Seven pixels per character, like a monospaced list font.
int SevenPerChar(const std::wstring& text) { return 7 * static_cast<int>(text.size()); }

TEST(LayoutColumnWidth, MeasuresTheLongestTextWithTwoCharactersAllowance) {
    MemoryTable table(2);
    table.AddRow({L"ab", L"x"});
    table.AddRow({L"abcd", L"y"});
    table.AddRow({L"wxyz", L"z"});  // same length as "abcd": the first one wins
    std::vector<std::wstring> measured;
    auto recorder = [&](const std::wstring& t) {
        measured.push_back(t);
        return SevenPerChar(t);
    };
    EXPECT_DOUBLE_EQ(MeasureColumnWidth(L"Hdr", table, 0, recorder), 28.0 * 6 / 4);
    EXPECT_EQ(measured.back(), L"abcd");
    // Header strictly longer wins; on a tie the cell text is measured.
    EXPECT_DOUBLE_EQ(MeasureColumnWidth(L"Header", table, 1, recorder), 42.0 * 8 / 6);
    EXPECT_EQ(measured.back(), L"Header");
    MeasureColumnWidth(L"abcd", table, 0, recorder);
    EXPECT_EQ(measured.back(), L"abcd");
}

TEST(LayoutColumnWidth, EmptyListUsesHeaderAndFailedMeasurementFallsBackTo50) {
    MemoryTable empty(4);
    EXPECT_DOUBLE_EQ(MeasureColumnWidth(L"Selected", empty, 3, SevenPerChar), 56.0 * 10 / 8);
    EXPECT_DOUBLE_EQ(MeasureColumnWidth(L"Selected", empty, 3, [](const std::wstring&) { return 0; }), 50.0);
    // Nothing at all to measure: no division by zero, the fallback width.
    EXPECT_DOUBLE_EQ(MeasureColumnWidth(L"", empty, 0, SevenPerChar), 50.0);
}

TEST(LayoutColumnWidth, SpareWidthIsSharedAndTheLastColumnTakesTheRest) {
    // 100 + 50 + 70 = 220 of 805: extra = 585 / 3 = 195.
    EXPECT_EQ(DistributeColumnWidths({100.0, 50.0, 70.0}, 805, false), (std::vector<int>{295, 245, 805 - 295 - 245 - 5}));
    EXPECT_EQ(DistributeColumnWidths({100.0, 50.0, 70.0}, 805, true), (std::vector<int>{295, 245, 805 - 295 - 245 - 22}));
    // Measured widths are rounded half away from zero before they are summed.
    EXPECT_EQ(DistributeColumnWidths({10.5, 10.4}, 101, false), (std::vector<int>{11 + 40, 101 - 51 - 5}));
}

TEST(LayoutColumnWidth, OverflowAndTinySpareWidthKeepTheMeasuredWidths) {
    EXPECT_EQ(DistributeColumnWidths({400.0, 300.0, 200.0}, 805, true), (std::vector<int>{400, 300, 200}));
    EXPECT_EQ(DistributeColumnWidths({400.0, 405.0}, 805, true), (std::vector<int>{400, 405}));  // exactly full
    // Spare width 3 < 4 columns: extra is 0, no scroll-bar allowance, the last keeps its width.
    EXPECT_EQ(DistributeColumnWidths({200.0, 200.0, 200.0, 202.0}, 805, true), (std::vector<int>{200, 200, 200, 202}));
}

TEST(LayoutColumnWidth, LastColumnNeverGetsANegativeWidth) {
    // 4 + 4 of 10 pixels: extra 1 and a scroll bar would leave 10 - 5 - 22 for the last.
    const std::vector<int> widths = DistributeColumnWidths({4.0, 4.0}, 10, true);
    EXPECT_EQ(widths[0], 5);
    EXPECT_EQ(widths[1], 0);
}

TEST(LayoutColumnWidth, NarrowedColumnsTakeTheirWidthsFirst) {
    // The adapter list after its first rows came: MAC widens, the last column narrows.
    EXPECT_EQ(ColumnWidthOrder({215, 194, 189, 202}, {230, 160, 260, 150}), (std::vector<int>{1, 3, 0, 2}));
    // Nothing narrows (or nothing changes): left to right.
    EXPECT_EQ(ColumnWidthOrder({50, 50, 50}, {50, 60, 50}), (std::vector<int>{0, 1, 2}));
    // Columns the list does not report yet count as widened.
    EXPECT_EQ(ColumnWidthOrder({100}, {40, 30}), (std::vector<int>{0, 1}));
}

TEST(LayoutColumnWidth, ColumnsNeverGetWiderTogetherThanBeforeOrAfter) {
    // Every step of the order keeps the sum within the larger of the two totals, for a
    // spread of old and new widths (a fixed pseudo-random sequence).
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 500; ++round) {
        const int n = 1 + static_cast<int>(next() % 9);
        std::vector<int> current(n), target(n);
        long long before = 0, after = 0;
        for (int c = 0; c < n; ++c) {
            before += current[c] = static_cast<int>(next() % 400);
            after += target[c] = static_cast<int>(next() % 400);
        }
        const std::vector<int> order = ColumnWidthOrder(current, target);
        ASSERT_EQ(static_cast<int>(order.size()), n);
        std::vector<int> shown = current;
        std::vector<bool> seen(n, false);
        for (int c : order) {
            ASSERT_FALSE(seen[c]) << "column " << c << " twice";
            seen[c] = true;
            shown[c] = target[c];
            long long sum = 0;
            for (int w : shown) sum += w;
            ASSERT_LE(sum, std::max(before, after)) << "round " << round;
        }
        EXPECT_EQ(shown, target);
    }
}

}  // namespace
