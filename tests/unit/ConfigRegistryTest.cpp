// The settings' values and the browser detection, against a fake registry.
#include "config/RegistrySettings.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(ConfigRegistrySettings, LoadKeepsElementsOfAbsentValuesAndEmptiesAnAbsentMac) {
    std::map<std::wstring, std::wstring> values = {{L"Qel2EthernetAdapter", L"eth1"}, {L"Qel10EthernetAdapter", L""}};
    auto read = [&](const std::wstring& name) -> std::optional<std::wstring> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
    std::wstring mac = L"old";
    std::vector<std::wstring> names(10, L"kept");
    LoadSettings(read, mac, names);
    EXPECT_EQ(mac, L"");
    EXPECT_EQ(names[0], L"kept");
    EXPECT_EQ(names[1], L"eth1");
    EXPECT_EQ(names[9], L"");

    std::vector<std::wstring> few;  // never fewer than ten afterwards
    LoadSettings(read, mac, few);
    EXPECT_EQ(few.size(), 10u);
}

TEST(ConfigRegistrySettings, SavedMacComesFromTheFirstAdapterNamedForRowZero) {
    MemoryTable instances(instanceColumnCount), adapters(adapterColumnCount);
    adapters.AddRow({L"d", L"eth0", L"AA-00-00-00-00-01", L""});
    adapters.AddRow({L"d", L"eth1", L"AA-00-00-00-00-02", L""});
    adapters.AddRow({L"d", L"eth1", L"AA-00-00-00-00-03", L""});
    EXPECT_EQ(SelectedMacAddressToSave(instances, adapters, L"kept"), L"kept");  // no row 0
    instances.AddRow({L"1", L"No", L"eth1"});
    EXPECT_EQ(SelectedMacAddressToSave(instances, adapters, L"kept"), L"AA-00-00-00-00-02");
    instances.SetCell(0, colEthernetAdapter, L"ETH1");
    EXPECT_EQ(SelectedMacAddressToSave(instances, adapters, L"kept"), L"kept");
    instances.SetCell(0, colEthernetAdapter, L"");
    EXPECT_EQ(SelectedMacAddressToSave(instances, adapters, L"kept"), L"kept");
}

TEST(ConfigRegistrySettings, ElevenValuesWhateverTheRowCount) {
    for (int rows : {0, 6, 12}) {
        MemoryTable instances(instanceColumnCount);
        for (int r = 0; r < rows; ++r) instances.AddRow({std::to_wstring(r + 1), L"No", L"a" + std::to_wstring(r)});
        const std::vector<SettingsValue> values = SettingsToSave(instances, L"MAC");
        ASSERT_EQ(values.size(), 11u);
        EXPECT_EQ(values[0].name, L"SelectedMacAddress");
        EXPECT_EQ(values[0].text, L"MAC");
        for (int n = 1; n <= 10; ++n) {
            EXPECT_EQ(values[n].name, L"Qel" + std::to_wstring(n) + L"EthernetAdapter");
            EXPECT_EQ(values[n].text, n <= rows ? L"a" + std::to_wstring(n - 1) : L"") << rows << " " << n;
        }
    }
}

TEST(ConfigBrowsers, OfferedOnlyWithAnExistingFile) {
    std::map<std::wstring, AppPathsEntry> keys;
    auto read = [&](const std::wstring& key) {
        for (auto& [suffix, entry] : keys)
            if (key.size() >= suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
                return entry;
        return AppPathsEntry{};
    };
    auto exists = [](const std::wstring& path) { return path.rfind(L"C:\\", 0) == 0; };
    std::wstring chrome = L"stale", edge, firefox = L"old";
    std::wstring* const paths[browserCount] = {&chrome, &edge, &firefox};

    // Nothing installed: missing keys leave the paths as they are.
    EXPECT_TRUE(DetectBrowsers(read, exists, paths).empty());
    EXPECT_EQ(chrome, L"stale");

    keys[L"\\firefox.exe"] = {AppPathsEntry::present, L"C:\\ff\\firefox.exe"};
    keys[L"\\chrome.exe"] = {AppPathsEntry::present, L"\"C:\\c\\chrome.exe\""};  // quoted: not a file
    keys[L"\\msedge.exe"] = {AppPathsEntry::noDefaultValue, L""};
    edge = L"x";
    EXPECT_EQ(DetectBrowsers(read, exists, paths), std::vector<std::wstring>{L"Firefox"});
    EXPECT_EQ(chrome, L"");
    EXPECT_EQ(edge, L"");
    EXPECT_EQ(firefox, L"C:\\ff\\firefox.exe");

    keys[L"\\chrome.exe"].path = L"C:\\c\\chrome.exe";
    keys[L"\\msedge.exe"] = {AppPathsEntry::present, L"C:\\e\\msedge.exe"};
    EXPECT_EQ(DetectBrowsers(read, exists, paths), (std::vector<std::wstring>{L"Chrome", L"Edge", L"Firefox"}));
}

}  // namespace
