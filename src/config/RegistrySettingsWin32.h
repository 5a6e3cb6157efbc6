// Per-user settings in the registry and the detection of installed browsers: registry
// access around the decisions of config/RegistrySettings.
#pragma once

#include <string>
#include <vector>

#include "config/RegistrySettings.h"

// The remembered adapter choices; a missing key or value leaves them as they are.
void LoadSettingsFromRegistry(std::wstring& selectedMacAddress, std::vector<std::wstring>& instanceAdapterNames);

// The installed browsers by their App Paths entries: the chooser's entries; each found
// browser's program path is written to its slot.
std::vector<std::wstring> DetectInstalledBrowsers(std::wstring* const paths[browserCount]);

// Writes the values under the settings key (created when missing); a key that cannot be
// opened for writing leaves the settings unsaved, unreported.
void SaveSettingsToRegistry(const std::vector<SettingsValue>& values);
