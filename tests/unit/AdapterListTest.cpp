// The adapter list: which adapters appear, in which order, with which MAC text, how the
// enumeration's buffer grows, and how the remembered choices come back.
#include "network/Adapters.h"

#include <gtest/gtest.h>

namespace {

AdapterRecord Adapter(unsigned long type, const std::wstring& name, std::initializer_list<unsigned char> mac,
                      const std::wstring& description = L"desc") {
    AdapterRecord r;
    r.interfaceType = type;
    r.friendlyName = name;
    r.description = description;
    unsigned i = 0;
    for (unsigned char b : mac) r.physicalAddress[i++] = b;
    r.physicalAddressLength = i;
    return r;
}

AdapterRecord Ethernet(const std::wstring& name, unsigned char last) {
    return Adapter(ethernetInterfaceType, name, {0x02, 0, 0, 0, 0, last}, name + L" description");
}

// Answers with an overflow (asking for `needed` bytes) until the buffer is large enough.
class FakeSource : public AdapterSource {
public:
    unsigned long needed = 0;
    bool fail = false;
    std::vector<AdapterRecord> adapters;
    std::vector<unsigned long> sizesTried;

    AdapterQueryResult Query(unsigned long& size, std::vector<AdapterRecord>& out) override {
        sizesTried.push_back(size);
        if (size < needed) {
            size = needed;
            return AdapterQueryResult::bufferOverflow;
        }
        if (fail) return AdapterQueryResult::failure;
        out = adapters;
        return AdapterQueryResult::success;
    }
};

// Always overflows without saying how much it needs.
class GreedySource : public AdapterSource {
public:
    std::vector<unsigned long> sizesTried;
    AdapterQueryResult Query(unsigned long& size, std::vector<AdapterRecord>&) override {
        sizesTried.push_back(size);
        return AdapterQueryResult::bufferOverflow;
    }
};

std::vector<std::wstring> Column(const ListTable& t, int column) {
    std::vector<std::wstring> cells;
    for (int r = 0; r < t.RowCount(); ++r) cells.push_back(t.Cell(r, column));
    return cells;
}

using Names = std::vector<std::wstring>;

TEST(AdapterList, ShowsEthernetAdaptersNewestFirstWithUpperCaseMac) {
    MemoryTable list(adapterColumnCount);
    FillAdapterList(list, {Adapter(ethernetInterfaceType, L"A", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, L"Desc A"),
                           Adapter(ethernetInterfaceType, L"B", {0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff}, L"Desc B")});
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(Column(list, colName), (Names{L"B", L"A"}));
    EXPECT_EQ(Column(list, colDescription), (Names{L"Desc B", L"Desc A"}));
    EXPECT_EQ(Column(list, colMac), (Names{L"AA-BB-CC-DD-EE-FF", L"00-1A-2B-3C-4D-5E"}));
    EXPECT_EQ(Column(list, colSelected), (Names{L"", L""}));
    EXPECT_FALSE(list.IsRowSelected(0) || list.IsRowSelected(1));
}

TEST(AdapterList, SkipsWirelessAndLoopbackButListsEveryEthernetAdapter) {
    MemoryTable list(adapterColumnCount);
    list.AddRow({L"stale row"});
    // The operational state is not part of the record: a disconnected adapter is listed.
    FillAdapterList(list, {Adapter(71, L"Wi-Fi", {1, 2, 3, 4, 5, 6}), Ethernet(L"Ethernet", 1),
                           Adapter(24, L"Loopback", {}), Ethernet(L"Ethernet (unplugged)", 2)});
    EXPECT_EQ(Column(list, colName), (Names{L"Ethernet (unplugged)", L"Ethernet"}));
}

TEST(AdapterList, MacTextUsesOnlySixBytesAndZeroForMissingOnes) {
    const unsigned char eight[8] = {0xde, 0xad, 0xbe, 0xef, 0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(FormatMacAddress(eight, 8), L"DE-AD-BE-EF-01-02");
    // Bytes past the reported length are never shown, whatever the buffer holds.
    EXPECT_EQ(FormatMacAddress(eight, 3), L"DE-AD-BE-00-00-00");
    EXPECT_EQ(FormatMacAddress(eight, 0), L"00-00-00-00-00-00");
}

TEST(AdapterList, BufferGrowsBeyondWhatThePlatformAskedFor) {
    FakeSource source;
    source.needed = 23456;
    source.adapters = {Ethernet(L"A", 1)};
    MemoryTable list(adapterColumnCount);
    ASSERT_TRUE(RefreshAdapterList(source, list));
    EXPECT_EQ(source.sizesTried, (std::vector<unsigned long>{10000, 33456}));
    EXPECT_EQ(list.RowCount(), 1);
}

TEST(AdapterList, GivesUpPastTheLimitAndKeepsThePreviousRows) {
    GreedySource greedy;
    MemoryTable list(adapterColumnCount);
    list.AddRow({L"previous", L"Ethernet", L"02-00-00-00-00-01", L"Yes"});
    EXPECT_FALSE(RefreshAdapterList(greedy, list));
    EXPECT_EQ(greedy.sizesTried, (std::vector<unsigned long>{10000, 20000, 30000, 40000, 50000, 60000, 70000, 80000,
                                                             90000, 100000}));
    EXPECT_EQ(Column(list, colSelected), (Names{L"Yes"}));

    // A platform that asks for more than 90000 bytes gets no second try.
    FakeSource big;
    big.needed = 90001;
    EXPECT_FALSE(RefreshAdapterList(big, list));
    EXPECT_EQ(big.sizesTried.size(), 1u);
    EXPECT_EQ(list.RowCount(), 1);

    FakeSource justFits;
    justFits.needed = 90000;
    justFits.adapters = {Ethernet(L"A", 1)};
    EXPECT_TRUE(RefreshAdapterList(justFits, list));
    EXPECT_EQ(Column(list, colName), (Names{L"A"}));
}

TEST(AdapterList, OtherFailuresLeaveTheListEmpty) {
    FakeSource source;
    source.fail = true;
    source.adapters = {Ethernet(L"never read", 1)};
    MemoryTable list(adapterColumnCount);
    list.AddRow({L"previous"});
    EXPECT_TRUE(RefreshAdapterList(source, list));
    EXPECT_EQ(list.RowCount(), 0);
}

// The restore after an enumeration: adapters A..C listed as C, B, A.
class AdapterRestore : public ::testing::Test {
protected:
    MemoryTable adapters{adapterColumnCount};
    MemoryTable instances{instanceColumnCount};
    Names remembered = Names(maxInstances);

    void SetUp() override {
        FillAdapterList(adapters, {Ethernet(L"Ethernet", 0x0a), Ethernet(L"Ethernet 2", 0x0b), Ethernet(L"Ethernet 3", 0x0c)});
        for (int i = 0; i < 12; ++i) instances.AddRow({std::to_wstring(i + 1)});
    }
};

TEST_F(AdapterRestore, SelectsTheRememberedMacExactly) {
    EXPECT_EQ(FindAdapterRowByMac(adapters, L"02-00-00-00-00-0B"), 1);
    EXPECT_EQ(FindAdapterRowByMac(adapters, L"02-00-00-00-00-0b"), -1);
    EXPECT_EQ(FindAdapterRowByMac(adapters, L"02-00-00-00-00-0F"), -1);
    EXPECT_EQ(FindAdapterRowByMac(adapters, L""), -1);
}

TEST_F(AdapterRestore, RememberedAdaptersFillCellsAndMarkTheAdapter) {
    remembered[0] = L"Ethernet 2";
    remembered[2] = L"Ethernet 2";
    remembered[3] = L"Ethernet 9";   // absent
    remembered[4] = L"ethernet 3";   // names are case-sensitive
    instances.SetCell(4, colEthernetAdapter, L"kept");
    RestoreInstanceAdapters(adapters, instances, remembered);
    EXPECT_EQ(instances.Cell(0, colEthernetAdapter), L"Ethernet 2");
    EXPECT_EQ(instances.Cell(2, colEthernetAdapter), L"Ethernet 2");
    EXPECT_EQ(instances.Cell(3, colEthernetAdapter), L"");
    EXPECT_EQ(instances.Cell(4, colEthernetAdapter), L"kept");
    EXPECT_EQ(Column(adapters, colSelected), (Names{L"", L"Yes", L""}));
}

TEST_F(AdapterRestore, FirstOfSameNamedAdaptersWins) {
    adapters.SetCell(2, colName, L"Ethernet 2");
    remembered[1] = L"Ethernet 2";
    RestoreInstanceAdapters(adapters, instances, remembered);
    EXPECT_EQ(Column(adapters, colSelected), (Names{L"", L"Yes", L""}));
}

TEST_F(AdapterRestore, OnlyTheFirstTenRowsTakePartAndEmptyNamesClaimNothing) {
    adapters.SetCell(0, colName, L"");  // an adapter without a friendly name
    for (auto& name : remembered) name = L"Ethernet";
    remembered[5] = L"";
    instances.SetCell(5, colEthernetAdapter, L"mine");
    RestoreInstanceAdapters(adapters, instances, remembered);
    EXPECT_EQ(instances.Cell(9, colEthernetAdapter), L"Ethernet");
    EXPECT_EQ(instances.Cell(5, colEthernetAdapter), L"mine");
    EXPECT_EQ(instances.Cell(10, colEthernetAdapter), L"");
    EXPECT_EQ(instances.Cell(11, colEthernetAdapter), L"");
    EXPECT_EQ(adapters.Cell(0, colSelected), L"");
}

TEST_F(AdapterRestore, FewerRememberedNamesThanRowsChangeNothingBeyondThem) {
    // Settings not read yet: no names at all, or fewer than the rows.
    instances.SetCell(0, colEthernetAdapter, L"kept");
    RestoreInstanceAdapters(adapters, instances, {});
    EXPECT_EQ(instances.Cell(0, colEthernetAdapter), L"kept");
    EXPECT_EQ(Column(adapters, colSelected), (Names{L"", L"", L""}));

    RestoreInstanceAdapters(adapters, instances, {L"Ethernet 3", L"Ethernet"});
    EXPECT_EQ(instances.Cell(0, colEthernetAdapter), L"Ethernet 3");
    EXPECT_EQ(instances.Cell(1, colEthernetAdapter), L"Ethernet");
    for (int row = 2; row < instances.RowCount(); ++row) EXPECT_EQ(instances.Cell(row, colEthernetAdapter), L"") << row;
    EXPECT_EQ(Column(adapters, colSelected), (Names{L"Yes", L"", L"Yes"}));
}

TEST_F(AdapterRestore, RefreshPutsTheRememberedAdapterBackOverAUserChoice) {
    remembered[1] = L"Ethernet";
    RestoreInstanceAdapters(adapters, instances, remembered);
    instances.SetCell(1, colEthernetAdapter, L"Ethernet 3");  // the user's later choice

    FakeSource source;
    source.adapters = {Ethernet(L"Ethernet", 0x0a), Ethernet(L"Ethernet 3", 0x0c)};
    ASSERT_TRUE(RefreshAdapterList(source, adapters));
    RestoreInstanceAdapters(adapters, instances, remembered);
    EXPECT_EQ(instances.Cell(1, colEthernetAdapter), L"Ethernet");
    EXPECT_EQ(Column(adapters, colSelected), (Names{L"", L"Yes"}));
}

}  // namespace
