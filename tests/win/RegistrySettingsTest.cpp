// The per-user settings and the browser detection through the live dialog, in the test's
// own registry.
#include <gtest/gtest.h>

#include <map>

#include "ConfigTestSupport.h"
#include "app/CtarnwickDlgWin32.h"
#include "config/RegistrySettings.h"

namespace {

using configtest::ScratchDirectory;
using configtest::WriteBytes;

const wchar_t* const appPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

void ClearRegistry() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Morvane");
    for (const wchar_t* exe : {L"chrome.exe", L"msedge.exe", L"firefox.exe"})
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(appPaths) + exe).c_str());
}

void SetAppPath(const wchar_t* exe, const std::wstring* path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(appPaths) + exe).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (path)
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path->c_str()),
                       static_cast<DWORD>((path->size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// Every value of the settings key, name -> (type, text).
std::map<std::wstring, std::pair<DWORD, std::wstring>> SettingsValues() {
    std::map<std::wstring, std::pair<DWORD, std::wstring>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[2048] = {};
        DWORD size = sizeof data - 2;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[name] = {type, reinterpret_cast<const wchar_t*>(data)};
    }
    RegCloseKey(key);
    return values;
}

std::string Blocks(int count) {
    std::string content;
    for (int k = 1; k <= count; ++k) content += "Instance " + std::to_string(k) + "\n";
    return content;
}

struct RegistrySettings : ::testing::Test {
    void SetUp() override { ClearRegistry(); }
    void TearDown() override { ClearRegistry(); }
    // A dialog over a configuration file of the given number of blocks.
    void Open(CtarnwickDlg& dlg, int blocks) {
        ASSERT_TRUE(WriteBytes(L"qel-configuration.txt", Blocks(blocks)));
        ASSERT_TRUE(dlg.CreateModeless());
        ASSERT_EQ(dlg.instanceList.RowCount(), blocks);
    }
    ScratchDirectory dir;
};

TEST_F(RegistrySettings, FirstRunLoadsNothingAndTheFirstSaveWritesElevenStrings) {
    CtarnwickDlg dlg;
    Open(dlg, 10);
    EXPECT_EQ(dlg.selectedMacAddress, L"");
    EXPECT_EQ(dlg.instanceAdapterNames, std::vector<std::wstring>(10));
    EXPECT_TRUE(SettingsValues().empty());

    dlg.adapterList.InsertRow(0, L"Adapter A");
    dlg.adapterList.SetCell(0, colName, L"eth0");
    dlg.adapterList.SetCell(0, colMac, L"02-00-00-00-00-0A");
    dlg.instanceList.SetCell(0, colEthernetAdapter, L"eth0");
    dlg.instanceList.SetCell(3, colEthernetAdapter, L"eth1");
    dlg.SetRegistryKeys();

    const auto values = SettingsValues();
    ASSERT_EQ(values.size(), 11u);
    for (auto& [name, value] : values) EXPECT_EQ(value.first, static_cast<DWORD>(REG_SZ)) << name.c_str();
    EXPECT_EQ(values.at(L"SelectedMacAddress").second, L"02-00-00-00-00-0A");
    EXPECT_EQ(values.at(L"Qel1EthernetAdapter").second, L"eth0");
    EXPECT_EQ(values.at(L"Qel4EthernetAdapter").second, L"eth1");
    EXPECT_EQ(values.at(L"Qel2EthernetAdapter").second, L"");
    EXPECT_EQ(values.at(L"Qel10EthernetAdapter").second, L"");

    // The next run loads what was saved.
    CtarnwickDlg next;
    next.CreateModeless();
    EXPECT_EQ(next.selectedMacAddress, L"02-00-00-00-00-0A");
    EXPECT_EQ(next.instanceAdapterNames[0], L"eth0");
    EXPECT_EQ(next.instanceAdapterNames[3], L"eth1");
    EXPECT_EQ(next.instanceAdapterNames[1], L"");
}

TEST_F(RegistrySettings, SixAndTwelveRows) {
    for (int rows : {6, 12}) {
        CtarnwickDlg dlg;
        Open(dlg, rows);
        for (int r = 0; r < rows; ++r) dlg.instanceList.SetCell(r, colEthernetAdapter, L"a" + std::to_wstring(r));
        dlg.selectedMacAddress = L"kept";  // row 0's adapter is not in the (empty) adapter list
        dlg.SetRegistryKeys();
        const auto values = SettingsValues();
        ASSERT_EQ(values.size(), 11u) << rows;
        EXPECT_EQ(values.at(L"SelectedMacAddress").second, L"kept");
        EXPECT_EQ(values.at(L"Qel6EthernetAdapter").second, L"a5");
        EXPECT_EQ(values.at(L"Qel7EthernetAdapter").second, rows == 6 ? L"" : L"a6");
        EXPECT_EQ(values.at(L"Qel10EthernetAdapter").second, rows == 6 ? L"" : L"a9");
        EXPECT_EQ(values.count(L"Qel11EthernetAdapter"), 0u);
    }
}

TEST_F(RegistrySettings, BrowsersNeedAnExistingExecutable) {
    const std::wstring firefox = dir.Path() + L"\\firefox.exe";
    const std::wstring gone = dir.Path() + L"\\gone\\chrome.exe";
    ASSERT_TRUE(WriteBytes(firefox, "MZ"));
    SetAppPath(L"firefox.exe", &firefox);
    SetAppPath(L"chrome.exe", &gone);
    SetAppPath(L"msedge.exe", nullptr);  // key without default value

    CtarnwickDlg dlg;
    Open(dlg, 1);
    ASSERT_EQ(dlg.browserCombo.GetCount(), 1);
    EXPECT_EQ(dlg.browserCombo.GetLBText(0), L"Firefox");
    EXPECT_EQ(dlg.browserCombo.GetCurSel(), 0);
    EXPECT_EQ(dlg.firefoxPath, firefox);
    EXPECT_EQ(dlg.chromePath, L"");
    EXPECT_EQ(dlg.edgePath, L"");

    // Chrome appears: the sorted chooser preselects it.
    const std::wstring chrome = dir.Path() + L"\\chrome.exe";
    ASSERT_TRUE(WriteBytes(chrome, "MZ"));
    SetAppPath(L"chrome.exe", &chrome);
    dlg.GetRegistryKeys();
    ASSERT_EQ(dlg.browserCombo.GetCount(), 2);
    EXPECT_EQ(dlg.browserCombo.GetLBText(dlg.browserCombo.GetCurSel()), L"Chrome");
}

TEST_F(RegistrySettings, NoBrowserMeansAnEmptyChooserWithoutSelection) {
    CtarnwickDlg dlg;
    Open(dlg, 1);
    EXPECT_EQ(dlg.browserCombo.GetCount(), 0);
    EXPECT_EQ(dlg.browserCombo.GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.chromePath + dlg.edgePath + dlg.firefoxPath, L"");
}

}  // namespace
