// The configuration file "qel-configuration.txt" and the file-system folder lookup: file
// access and message boxes around the decisions of config/ConfigFile.
#include <algorithm>
#include <string>
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "common/AnsiText.h"
#include "config/ConfigFile.h"
#include "win32/MessageBox.h"

namespace {

constexpr const wchar_t* readCaption = L"QEL Configuration File";
constexpr const wchar_t* updateCaption = L"Update QEL Configuration File";

bool IsExistingFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const wchar_t* path, std::string& bytes) {
    UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// Replaces the file's content in one step: the new content goes to a temporary file in the
// same folder, which then takes the file's place. On any failure the file is unchanged and
// the temporary file is gone.
bool ReplaceFileContent(const wchar_t* path, const std::string& content) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;

    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(L".", L"qel", 0, temporary)) return false;
    bool written;
    {
        UniqueFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && WriteAll(file.get(), content) && FlushFileBuffers(file.get());
    }
    if (written && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary);
    return false;
}

}  // namespace

void CtarnwickDlg::ReadQelConfigurationFile() {
    if (!IsExistingFile(configurationFileName)) {
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
    if (!IsExistingFile(configurationFileName)) {
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
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0 || path.size() > 65536) {
            fileSystemFoldersPath.clear();
            return;
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const FileSystemFolderLocation location = LocateFileSystemFolders(path, IsExistingDirectory);
    exeDrive = location.exeDrive;
    fileSystemFoldersPath = location.fileSystemFoldersPath;
}
