#include "config/RegistrySettingsWin32.h"

#include <optional>
#include <string>

#include "win32/Files.h"
#include "win32/Handles.h"

namespace {

// A string value (an expandable one comes back expanded); nothing when the value is absent
// or holds no text. An empty name reads the key's default value.
std::optional<std::wstring> ReadStringValue(HKEY key, const std::wstring& name) {
    const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
    // Without RRF_NOEXPAND an expandable string is expanded and then counts as REG_SZ.
    const DWORD flags = RRF_RT_REG_SZ;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        if (RegGetValueW(key, nullptr, valueName, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(key, nullptr, valueName, flags, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;  // the value grew in between
        if (status != ERROR_SUCCESS) return std::nullopt;
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }
    return std::nullopt;
}

AppPathsEntry ReadAppPaths(const std::wstring& keyPath) {
    AppPathsEntry entry;
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return entry;
    if (std::optional<std::wstring> path = ReadStringValue(key.get(), std::wstring())) {
        entry.state = AppPathsEntry::present;
        entry.path = *path;
    } else {
        entry.state = AppPathsEntry::noDefaultValue;
    }
    return entry;
}

}  // namespace

void LoadSettingsFromRegistry(std::wstring& selectedMacAddress, std::vector<std::wstring>& instanceAdapterNames) {
    // Loading needs read access only; a key that exists is read even where it cannot be written.
    UniqueHkey settings;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyPath, 0, KEY_READ, settings.put()) != ERROR_SUCCESS) return;
    LoadSettings([&](const std::wstring& name) { return ReadStringValue(settings.get(), name); }, selectedMacAddress,
                 instanceAdapterNames);
}

std::vector<std::wstring> DetectInstalledBrowsers(std::wstring* const paths[browserCount]) {
    return DetectBrowsers(ReadAppPaths, FileExists, paths);
}

void SaveSettingsToRegistry(const std::vector<SettingsValue>& values) {
    UniqueHkey settings;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, settingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, settings.put(), nullptr) != ERROR_SUCCESS)
        return;  // not reported: the settings are then not saved
    for (const SettingsValue& value : values) {
        const DWORD bytes = static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(settings.get(), value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                       bytes);
    }
}
