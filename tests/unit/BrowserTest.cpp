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

}  // namespace
