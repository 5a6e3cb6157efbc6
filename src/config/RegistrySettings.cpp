#include "config/RegistrySettings.h"

const BrowserKind browserKinds_g[browserCount] = {
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\chrome.exe", L"Chrome"},
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msedge.exe", L"Edge"},
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\firefox.exe", L"Firefox"},
};

std::wstring AdapterValueName(int instanceNumber) {
    return L"Qel" + std::to_wstring(instanceNumber) + L"EthernetAdapter";
}

void LoadSettings(const std::function<std::optional<std::wstring>(const std::wstring&)>& readValue,
                  std::wstring& selectedMacAddress, std::vector<std::wstring>& adapterNames) {
    if (adapterNames.size() < static_cast<size_t>(maxInstances)) adapterNames.resize(maxInstances);
    selectedMacAddress = readValue(selectedMacAddressValueName).value_or(std::wstring());
    for (int n = 1; n <= maxInstances; ++n)
        if (std::optional<std::wstring> name = readValue(AdapterValueName(n))) adapterNames[n - 1] = *name;
}

std::wstring SelectedMacAddressToSave(const ListTable& instances, const ListTable& adapters,
                                      const std::wstring& current) {
    const std::wstring adapter = instances.Cell(0, colEthernetAdapter);
    for (int row = 0; row < adapters.RowCount(); ++row)
        if (adapters.Cell(row, colName) == adapter) return adapters.Cell(row, colMac);
    return current;
}

std::vector<SettingsValue> SettingsToSave(const ListTable& instances, const std::wstring& selectedMacAddress) {
    std::vector<SettingsValue> values{{selectedMacAddressValueName, selectedMacAddress}};
    for (int n = 1; n <= maxInstances; ++n) values.push_back({AdapterValueName(n), instances.Cell(n - 1, colEthernetAdapter)});
    return values;
}

std::vector<std::wstring> DetectBrowsers(const std::function<AppPathsEntry(const std::wstring&)>& readAppPaths,
                                         const std::function<bool(const std::wstring&)>& fileExists,
                                         std::wstring* const paths[browserCount]) {
    std::vector<std::wstring> entries;
    for (int i = 0; i < browserCount; ++i) {
        const AppPathsEntry found = readAppPaths(browserKinds_g[i].appPathsKey);
        if (found.state == AppPathsEntry::keyMissing) continue;
        // The path is used exactly as stored: a quoted path fails the existence test.
        if (found.state == AppPathsEntry::present && fileExists(found.path)) {
            *paths[i] = found.path;
            entries.push_back(browserKinds_g[i].entry);
        } else {
            paths[i]->clear();
        }
    }
    return entries;
}
