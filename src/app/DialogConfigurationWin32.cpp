// The dialog's configuration: the configuration file "qel-configuration.txt" (read into the
// instance table, the default written, a startup file name updated), the file-system folder
// lookup, and the per-user settings and installed browsers in the registry.
#include <string>
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "common/AnsiText.h"
#include "config/ConfigFile.h"
#include "config/RegistrySettings.h"
#include "config/RegistrySettingsWin32.h"
#include "win32/Files.h"
#include "win32/MessageBox.h"

namespace {

constexpr const wchar_t* readCaption = L"QEL Configuration File";
constexpr const wchar_t* updateCaption = L"Update QEL Configuration File";

}  // namespace

void CtarnwickDlg::ReadQelConfigurationFile() {
    if (!FileExists(configurationFileName)) {
        ShowMessageBox(hwnd_, readCaption, L"The QEL configuration file does not exist.", BoxKind::warning);
        if (!CreateDefaultQelConfigurationFile()) {
            ShowMessageBox(hwnd_, readCaption, L"Could not create default QEL configuration file.", BoxKind::error);
            return;
        }
        ShowMessageBox(hwnd_, readCaption, L"Created default QEL configuration file.", BoxKind::information);
    }

    instanceList.DeleteAllRows();
    configRowIndex = -1;
    std::string bytes;
    if (!ReadWholeFile(configurationFileName, bytes)) return;
    instanceList.SetRedraw(false);
    for (const std::string& piece : SplitIntoLinePieces(TextModeContent(bytes)))
        ProcessConfigurationLine(piece.c_str(), [this](int fieldId, const char* value) { GetField(fieldId, value); });
    instanceList.SetRedraw(true);

    findAndConfigureButton.EnableWindow(true);
    searchLed.EnableWindow(true);
}

int CtarnwickDlg::CreateDefaultQelConfigurationFile() {
    {
        UniqueFile created(CreateFileW(configurationFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created) return 0;
    }
    UniqueFile file(CreateFileW(configurationFileName, FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    for (const std::string& block : DefaultConfigurationBlocks())
        if (!WriteAll(file.get(), block)) return 0;
    return 1;
}

void CtarnwickDlg::GetField(int fieldId, const char* value) {
    StoreConfigurationField(instanceList, configRowIndex, fieldId, value);
}

int CtarnwickDlg::UpdateQelConfigurationFile(const std::wstring& startupFileName) {
    if (!FileExists(configurationFileName)) {
        ShowMessageBox(hwnd_, updateCaption, L"The QEL configuration file does not exist.", BoxKind::warning);
        return 0;
    }
    // A file that cannot be read is a failure, so the caller keeps the old name.
    std::string bytes;
    if (!ReadWholeFile(configurationFileName, bytes)) return 0;
    std::vector<std::wstring> lines;
    for (const std::string& piece : SplitIntoLinePieces(TextModeContent(bytes))) lines.push_back(WidenAnsi(piece));

    if (!ReplaceStartupFileName(lines, selectedListItem_g, startupFileName)) {
        ShowMessageBox(hwnd_, updateCaption, L"Could not update the startup file name.", BoxKind::warning);
        return 0;
    }
    if (!ReplaceFileContent(configurationFileName, JoinLinesAscii(lines))) {
        ShowMessageBox(hwnd_, updateCaption, L"Could not write the QEL configuration file. It was left unchanged.",
                       BoxKind::warning);
        return 0;
    }
    return 1;
}

void CtarnwickDlg::GetFileSystemFolderPath() {
    const std::wstring path = ProgramPath();
    if (path.empty()) {
        fileSystemFoldersPath.clear();
        return;
    }
    const FileSystemFolderLocation location = LocateFileSystemFolders(path, DirectoryExists);
    exeDrive = location.exeDrive;
    fileSystemFoldersPath = location.fileSystemFoldersPath;
}

void CtarnwickDlg::GetRegistryKeys() {
    browserCombo.ResetContent();
    LoadSettingsFromRegistry(selectedMacAddress, instanceAdapterNames);
    std::wstring* const paths[browserCount] = {&chromePath, &edgePath, &firefoxPath};
    for (const std::wstring& entry : DetectInstalledBrowsers(paths)) browserCombo.AddString(entry);
    if (browserCombo.GetCount() > 0) browserCombo.SetCurSel(0);
}

void CtarnwickDlg::SetRegistryKeys() {
    selectedMacAddress = SelectedMacAddressToSave(instanceList, adapterList, selectedMacAddress);
    SaveSettingsToRegistry(SettingsToSave(instanceList, selectedMacAddress));
}
