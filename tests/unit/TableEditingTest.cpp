// Editing the instance table: what a double-click does, which files the chooser offers,
// the adapter assignment and the applying of a chosen startup file.
#include "network/TableEditing.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::wstring>;

TEST(TableEditingDoubleClick, EditsAreRefusedDuringASearchButTheWebPageIsNot) {
    EXPECT_EQ(ClassifyInstanceDoubleClick(3, colQel, 10, true), InstanceDoubleClick::openWebBrowser);
    EXPECT_EQ(ClassifyInstanceDoubleClick(3, colStartupFileName, 10, false), InstanceDoubleClick::openStartupFileChooser);
    EXPECT_EQ(ClassifyInstanceDoubleClick(3, colStartupFileName, 10, true), InstanceDoubleClick::nothing);
    EXPECT_EQ(ClassifyInstanceDoubleClick(3, colEthernetAdapter, 10, false), InstanceDoubleClick::assignAdapter);
    EXPECT_EQ(ClassifyInstanceDoubleClick(3, colEthernetAdapter, 10, true), InstanceDoubleClick::nothing);
    for (int c : std::initializer_list<int>{colActive, colIp, colPort, colNetconfSshPort, colFsName, colImageSignatureType, 9})
        EXPECT_EQ(ClassifyInstanceDoubleClick(3, c, 10, false), InstanceDoubleClick::nothing) << c;
}

TEST(TableEditingDoubleClick, ChooserNeedsAnExistingRowTheAdapterDoesNot) {
    EXPECT_EQ(ClassifyInstanceDoubleClick(-1, colStartupFileName, 10, false), InstanceDoubleClick::nothing);
    EXPECT_EQ(ClassifyInstanceDoubleClick(10, colStartupFileName, 10, false), InstanceDoubleClick::nothing);
    EXPECT_EQ(ClassifyInstanceDoubleClick(-1, colEthernetAdapter, 10, false), InstanceDoubleClick::assignAdapter);
}

TEST(TableEditingStartupFiles, OffersXmlAndXmlUpperCaseOnly) {
    Names offered;
    for (const wchar_t* name : {L".", L"..", L"eval-trx9420.xml", L"B.XML", L"notes.txt", L"a.Xml", L"old.xml",
                                L"config.xmlx", L"xml", L"archive.xml.bak", L"two.dots.xml", L".xml", L"short.xm"})
        if (IsStartupFileName(name)) offered.push_back(name);
    EXPECT_EQ(offered, (Names{L"eval-trx9420.xml", L"B.XML", L"old.xml", L"config.xmlx", L"two.dots.xml", L".xml"}));
}

TEST(TableEditingStartupFiles, SearchPatternNamesTheInstanceFolder) {
    EXPECT_EQ(StartupFileSearchPattern(L"C:", L"Tools\\FileSystemFolders\\", L"FS_QEL_Instance0"),
              L"C:\\Tools\\FileSystemFolders\\FS_QEL_Instance0\\*");
    // No folders found, or no FS name: there is no instance folder to list.
    EXPECT_EQ(StartupFileSearchPattern(L"C:", L"", L"FS_QEL_Instance0"), L"");
    EXPECT_EQ(StartupFileSearchPattern(L"C:", L"Tools\\FileSystemFolders\\", L""), L"");
}

TEST(TableEditingStartupFiles, ChooserSitsOverTheCellAndWidensWithinTheTable) {
    const Rect list{40, 168, 845, 368};
    const Rect overCell = StartupFileChooserPlacement(list, {600, 40, 733, 55});
    EXPECT_EQ(overCell, (Rect{642, 208, 775, 223}));
    // The table's client area: inside the border, left of the scroll bar.
    const Rect client{41, 169, 827, 367};
    // Short names: the cell's size.
    EXPECT_EQ(StartupFileChooserField(overCell, client, 100, 17), overCell);
    // A longer name widens the field to the right, as far as the table's right edge...
    EXPECT_EQ(StartupFileChooserField(overCell, client, 150, 17), (Rect{642, 208, 825, 223}));
    // ...and beyond that moves it left, the arrow button left of the scroll bar.
    EXPECT_EQ(StartupFileChooserField(overCell, client, 300, 17), (Rect{494, 208, 827, 223}));
    // Wider than the whole table: the table's width, the arrow button still in sight.
    EXPECT_EQ(StartupFileChooserField(overCell, client, 1000, 17), (Rect{41, 208, 827, 223}));
    // A cell half scrolled out on the left: the field moves right, into the table.
    EXPECT_EQ(StartupFileChooserField({20, 208, 120, 223}, client, 10, 17), (Rect{41, 208, 141, 223}));
    // The drop-down list has room for the longest name as far as the screen allows, and is
    // never narrower than the field.
    EXPECT_EQ(StartupFileChooserListWidth({41, 208, 827, 223}, 1000, 17, 1800), 1033);
    EXPECT_EQ(StartupFileChooserListWidth({41, 208, 827, 223}, 1000, 17, 900), 900);
    EXPECT_EQ(StartupFileChooserListWidth({41, 208, 827, 223}, 1000, 17, 500), 786);
    EXPECT_EQ(StartupFileChooserListWidth(overCell, 10, 17, 1800), 133);
}

TEST(TableEditingStartupFiles, TheCurrentFileIsFoundByItsExactName) {
    const Names entries{L"B.XML", L"b.xml", L"eval-trx9420.xml"};
    EXPECT_EQ(IndexOfEntry(entries, L"b.xml"), 1);
    EXPECT_EQ(IndexOfEntry(entries, L"B.XML"), 0);
    EXPECT_EQ(IndexOfEntry(entries, L"EVAL-TRX9420.XML"), -1);
    EXPECT_EQ(IndexOfEntry(entries, L""), -1);
    EXPECT_EQ(IndexOfEntry({}, L"eval-trx9420.xml"), -1);
}

class AdapterAssignment : public ::testing::Test {
protected:
    MemoryTable adapters{adapterColumnCount};
    MemoryTable instances{instanceColumnCount};
    void SetUp() override {
        adapters.AddRow({L"d3", L"Ethernet 3", L"02-00-00-00-00-0C"});
        adapters.AddRow({L"d2", L"Ethernet 2", L"02-00-00-00-00-0B"});
        adapters.AddRow({L"d1", L"Ethernet", L"02-00-00-00-00-0A"});
        for (int i = 0; i < 5; ++i) instances.AddRow({std::to_wstring(i + 1), L"", L"Ethernet 3"});
        instances.SetCell(0, colEthernetAdapter, L"");
        instances.SetCell(4, colEthernetAdapter, L"");
    }
    Names AdapterCells() const {
        Names cells;
        for (int r = 0; r < instances.RowCount(); ++r) cells.push_back(instances.Cell(r, colEthernetAdapter));
        return cells;
    }
};

TEST_F(AdapterAssignment, FillsTheClickedRowAndEveryEmptyOne) {
    adapters.SetRowSelected(1, true);
    EXPECT_TRUE(AssignSelectedAdapter(adapters, instances, 1));
    EXPECT_EQ(AdapterCells(), (Names{L"Ethernet 2", L"Ethernet 2", L"Ethernet 3", L"Ethernet 3", L"Ethernet 2"}));
    // The adapter list itself is not marked.
    EXPECT_EQ(adapters.Cell(1, colSelected), L"");
}

TEST_F(AdapterAssignment, FirstSelectedAdapterWinsAndAClickBelowTheRowsFillsOnlyEmptyCells) {
    adapters.SetRowSelected(2, true);
    adapters.SetRowSelected(0, true);
    EXPECT_TRUE(AssignSelectedAdapter(adapters, instances, -1));
    EXPECT_EQ(AdapterCells(), (Names{L"Ethernet 3", L"Ethernet 3", L"Ethernet 3", L"Ethernet 3", L"Ethernet 3"}));
}

TEST_F(AdapterAssignment, NothingSelectedOrNamelessChangesNothing) {
    const Names before = AdapterCells();
    EXPECT_FALSE(AssignSelectedAdapter(adapters, instances, 1));
    adapters.SetCell(0, colName, L"");
    adapters.SetRowSelected(0, true);
    adapters.SetRowSelected(1, true);  // not consulted: only the first selected row counts
    EXPECT_FALSE(AssignSelectedAdapter(adapters, instances, 1));
    EXPECT_EQ(AdapterCells(), before);
}

class StartupFileChoice : public ::testing::Test {
protected:
    MemoryTable instances{instanceColumnCount};
    bool resetPending[maxInstances] = {};
    Names updates;
    int updateResult = 1;
    std::function<int(const std::wstring&)> update = [this](const std::wstring& name) {
        updates.push_back(name);
        return updateResult;
    };
    void SetUp() override {
        for (int i = 0; i < 11; ++i) instances.AddRow({std::to_wstring(i + 1)});
        for (int i = 0; i < 11; ++i) instances.SetCell(i, colStartupFileName, L"eval-trx9420.xml");
    }
};

TEST_F(StartupFileChoice, AnotherFileIsWrittenShownAndResetsTheRepository) {
    const std::wstring chosen = L"B.XML";
    EXPECT_TRUE(ApplyStartupFileChoice(instances, 2, &chosen, resetPending, update));
    EXPECT_EQ(updates, (Names{L"B.XML"}));
    EXPECT_EQ(instances.Cell(2, colStartupFileName), L"B.XML");
    EXPECT_TRUE(resetPending[2]);
    EXPECT_FALSE(resetPending[1] || resetPending[3]);
}

TEST_F(StartupFileChoice, SameFileOrNoChoiceWritesNothing) {
    const std::wstring same = L"eval-trx9420.xml";
    EXPECT_FALSE(ApplyStartupFileChoice(instances, 2, &same, resetPending, update));
    EXPECT_FALSE(ApplyStartupFileChoice(instances, 2, nullptr, resetPending, update));
    EXPECT_TRUE(updates.empty());
    EXPECT_FALSE(resetPending[2]);
    // The comparison is case-sensitive: a name differing only in case is another file name.
    const std::wstring upper = L"EVAL-TRX9420.XML";
    EXPECT_TRUE(ApplyStartupFileChoice(instances, 2, &upper, resetPending, update));
}

TEST_F(StartupFileChoice, FailedUpdateKeepsTheOldNameAndSchedulesNoReset) {
    updateResult = 0;
    const std::wstring chosen = L"B.XML";
    EXPECT_FALSE(ApplyStartupFileChoice(instances, 2, &chosen, resetPending, update));
    EXPECT_EQ(updates.size(), 1u);
    EXPECT_EQ(instances.Cell(2, colStartupFileName), L"eval-trx9420.xml");
    EXPECT_FALSE(resetPending[2]);
}

TEST_F(StartupFileChoice, RowBeyondTheTenthHasNoFlagAndAMissingRowIsNotUpdated) {
    const std::wstring chosen = L"B.XML";
    EXPECT_TRUE(ApplyStartupFileChoice(instances, 10, &chosen, resetPending, update));
    EXPECT_EQ(instances.Cell(10, colStartupFileName), L"B.XML");
    for (bool pending : resetPending) EXPECT_FALSE(pending);
    EXPECT_FALSE(ApplyStartupFileChoice(instances, -1, &chosen, resetPending, update));
    EXPECT_FALSE(ApplyStartupFileChoice(instances, 11, &chosen, resetPending, update));
    EXPECT_EQ(updates.size(), 1u);
}

}  // namespace
