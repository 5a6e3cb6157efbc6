// The per-user settings (the adapter chosen for each instance and the MAC address of the
// first instance's adapter) and the detection of installed browsers. Platform-free: the
// Windows layer reads and writes the registry through the callbacks given here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ListTable.h"

// The settings key, relative to the root of the current user's hive.
constexpr const wchar_t* settingsKeyPath = L"Morvane\\Software\\QelTsn\\Configuration";
constexpr const wchar_t* selectedMacAddressValueName = L"SelectedMacAddress";

// "Qel<n>EthernetAdapter" for instance number n (1 to 10), no padding.
std::wstring AdapterValueName(int instanceNumber);

// Loads the settings from the values that exist (readValue yields nothing for an absent
// value): an absent "SelectedMacAddress" empties selectedMacAddress, an absent adapter value
// leaves its element as it is. adapterNames ends up with at least ten elements.
void LoadSettings(const std::function<std::optional<std::wstring>(const std::wstring& name)>& readValue,
                  std::wstring& selectedMacAddress, std::vector<std::wstring>& adapterNames);

// The MAC address to remember: the "MAC" cell of the first adapter-list row whose "Name"
// equals (case-sensitively) the adapter of instance row 0; the current value when none does.
std::wstring SelectedMacAddressToSave(const ListTable& instances, const ListTable& adapters,
                                      const std::wstring& current);

struct SettingsValue {
    std::wstring name;
    std::wstring text;
};
// The eleven values written on every save, in order: "SelectedMacAddress", then adapter
// value n = column 2 of instance row n - 1 (empty for a row that does not exist).
std::vector<SettingsValue> SettingsToSave(const ListTable& instances, const std::wstring& selectedMacAddress);

// --- browsers ---

struct BrowserKind {
    const wchar_t* appPathsKey;  // under HKEY_LOCAL_MACHINE
    const wchar_t* entry;        // the browser chooser's text
};
constexpr int browserCount = 3;
// Looked up in this order: Chrome, Edge, Firefox.
extern const BrowserKind browserKinds_g[browserCount];

// What an App Paths key holds.
struct AppPathsEntry {
    enum State { keyMissing, noDefaultValue, present } state = keyMissing;
    std::wstring path;
};

// Fills the path of every browser (paths[i] belongs to browserKinds_g[i]) and returns the
// entries to offer, in lookup order. A missing key leaves its path as it is; a key without
// default value, or naming a file that does not exist, empties it and offers nothing.
std::vector<std::wstring> DetectBrowsers(const std::function<AppPathsEntry(const std::wstring& key)>& readAppPaths,
                                         const std::function<bool(const std::wstring& path)>& fileExists,
                                         std::wstring* const paths[browserCount]);
