// Which click opens a browser, and with what command line.
#include "supervision/Browser.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowserCommandLine, OnlyAnActiveRowWithAChosenFoundBrowserOpensOne) {
    MemoryTable table(instanceColumnCount);
    table.AddRow({L"1", L"Yes", L"Ethernet", L"127.0.0.1", L"50000"});
    table.AddRow({L"2", L"No", L"Ethernet", L"127.0.0.1", L"50001"});
    table.AddRow({L"3", L"yes", L"Ethernet", L"127.0.0.1", L"50002"});
    table.AddRow({L"4", L"Yes ", L"Ethernet", L"127.0.0.1", L"50003"});
    const BrowserPaths paths{L"C:\\Apps\\chrome.exe", L"C:\\Edge\\msedge.exe", L""};

    EXPECT_EQ(BrowserCommandLine(table, 0, L"Chrome", paths), L"C:\\Apps\\chrome.exe -url 127.0.0.1:50000");
    EXPECT_EQ(BrowserCommandLine(table, 0, L"Edge", paths), L"C:\\Edge\\msedge.exe -url 127.0.0.1:50000");
    EXPECT_EQ(BrowserCommandLine(table, 0, L"Firefox", paths), L"") << "not found at start-up";
    EXPECT_EQ(BrowserCommandLine(table, 0, L"", paths), L"");
    EXPECT_EQ(BrowserCommandLine(table, 0, L"chrome", paths), L"");
    for (int row : {1, 2, 3, 4, -1}) EXPECT_EQ(BrowserCommandLine(table, row, L"Chrome", paths), L"") << row;
}

TEST(BrowserCommandLine, NoBrowserIsReportedOnlyForAClickThatWouldOpenOne) {
    MemoryTable table(instanceColumnCount);
    table.AddRow({L"1", L"Yes", L"Ethernet", L"127.0.0.1", L"50000"});
    table.AddRow({L"2", L"No", L"Ethernet", L"127.0.0.1", L"50001"});
    EXPECT_TRUE(ReportsNoBrowser(table, 0, 0));
    EXPECT_FALSE(ReportsNoBrowser(table, 0, 1)) << "a browser is offered";
    EXPECT_FALSE(ReportsNoBrowser(table, 1, 0)) << "inactive: the click does nothing anyway";
    EXPECT_FALSE(ReportsNoBrowser(table, -1, 0)) << "a double-click below the last row";
    EXPECT_FALSE(ReportsNoBrowser(table, 2, 0));
}

TEST(BrowserCommandLine, TypedTextChoosesTheBrowserItNamesInAnyCase) {
    const std::vector<std::wstring> entries{L"Chrome", L"Edge", L"Firefox"};
    EXPECT_EQ(BrowserEntryNamedBy(entries, L"Firefox"), 2);
    EXPECT_EQ(BrowserEntryNamedBy(entries, L"fIREFOX"), 2);
    EXPECT_EQ(BrowserEntryNamedBy(entries, L"  edge "), 1);
    for (const wchar_t* typed : {L"Fire", L"Firefoxx", L"Opera", L"", L"   ", L"Chrome Edge"})
        EXPECT_EQ(BrowserEntryNamedBy(entries, typed), -1) << typed;
    EXPECT_EQ(BrowserEntryNamedBy({}, L"Chrome"), -1);

    MemoryTable table(instanceColumnCount);
    table.AddRow({L"1", L"Yes", L"Ethernet", L"127.0.0.1", L"50000"});
    table.AddRow({L"2", L"No", L"Ethernet", L"127.0.0.1", L"50001"});
    EXPECT_TRUE(ReportsNoBrowserChosen(table, 0, 3, -1));
    EXPECT_FALSE(ReportsNoBrowserChosen(table, 0, 3, 2)) << "a browser is chosen";
    EXPECT_FALSE(ReportsNoBrowserChosen(table, 0, 0, -1)) << "none offered: the other box says so";
    EXPECT_FALSE(ReportsNoBrowserChosen(table, 1, 3, -1)) << "inactive: the click does nothing anyway";
    EXPECT_FALSE(ReportsNoBrowserChosen(table, 2, 3, -1)) << "no such row";
}

}  // namespace
