#include "LaunchFixture.h"

#include <atomic>

#include "supervision/SearchState.h"
#include "supervision/FolderRemovalWin32.h"
#include "win32/Files.h"
#include "win32/Handles.h"
#include "win32/Processes.h"

namespace launchtest {

using supervision::DeleteFolderTree;

std::string ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    return content;
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << Narrow(path);
    DWORD written = 0;
    WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

std::string RecordValue(const std::string& record, const std::string& key) {
    const std::string prefix = key + "=";
    size_t at = 0;
    if (record.compare(0, prefix.size(), prefix) != 0) {
        at = record.find("\n" + prefix);
        if (at == std::string::npos) return "<missing " + key + ">";
        ++at;
    }
    const size_t end = record.find("\r\n", at);
    return record.substr(at + prefix.size(), end == std::string::npos ? std::string::npos : end - at - prefix.size());
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

std::wstring BuiltBackendPath() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"BRISVALE_BIN", value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::wstring folder = value;
        if (!folder.empty() && folder[0] == L'/') {
            for (wchar_t& c : folder)
                if (c == L'/') c = L'\\';
            folder = L"Z:" + folder;
        }
        if (FileExists(folder + L"\\dravik.exe")) return folder + L"\\dravik.exe";
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    return folder + L"\\dravik.exe";
}

int CountProcessesNamed(const char* name) {
    int count = 0;
    for (DWORD id : EnumerateProcessIds()) {
        UniqueHandle process(OpenProcess(processQueryReadTerminate, FALSE, id));
        if (process && ProcessBaseName(process.get()) == name) ++count;
    }
    return count;
}

bool WaitUntilNoProcessNamed(const char* name, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (CountProcessesNamed(name) > 0) {
        if (GetTickCount64() > end) return false;
        Sleep(50);
    }
    return true;
}

namespace {

std::atomic<int> fixtureCounter{0};

std::string ConfigurationBlock(int k) {
    return "//Instance name\r\nInstance " + std::to_string(k) + "\r\nIP 127.0.0.1\r\nPort " + std::to_string(50000 + k - 1) +
           "\r\nNetconfPortSsh " + std::to_string(50830 + k - 1) + "\r\nFsName FS_QEL_Instance" + std::to_string(k - 1) +
           "\r\nStartupFileName eval-trx9420.xml\r\nImageType development\r\n\r\n\r\n";
}

}  // namespace

void LaunchFixture::SetUp() {
    wchar_t buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    previousDirectory = buffer;
    GetTempPathW(MAX_PATH, buffer);
    std::wstring temp = buffer;
    if (!temp.empty() && temp.back() == L'\\') temp.pop_back();
    workDirectory = temp + L"\\launch-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++fixtureCounter);
    DeleteFolderTree(workDirectory);
    ASSERT_TRUE(CreateDirectoryW(workDirectory.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((workDirectory + L"\\FileSystemFolders").c_str(), nullptr));
    for (int i = 0; i < 3; ++i) {
        const std::wstring folder = InstanceFolder(i);
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((folder + L"\\log").c_str(), nullptr));
        WriteWholeFile(folder + L"\\eval-trx9420.xml", "<config/>\r\n");
        // A port of its own per test run, so that status pages never collide.
        WriteWholeFile(folder + L"\\dravik-behaviour.txt", "delay_ms=100\r\nhttp=off\r\n");
    }
    std::string configuration;
    for (int k = 1; k <= 3; ++k) configuration += ConfigurationBlock(k);
    WriteWholeFile(workDirectory + L"\\qel-configuration.txt", configuration);
    const std::wstring backend = BuiltBackendPath();
    ASSERT_TRUE(CopyFileW(backend.c_str(), (workDirectory + L"\\dravik.exe").c_str(), FALSE)) << Narrow(backend);
    ASSERT_TRUE(SetCurrentDirectoryW(workDirectory.c_str()));

    dialog = std::make_unique<CtarnwickDlg>();
    ASSERT_NE(dialog->CreateModeless(), nullptr);
    PumpPending();  // the deferred start-up step runs here, before the rows are filled

    dialog->adapterList.DeleteAllRows();
    dialog->adapterList.InsertRow(0, L"Test adapter");
    dialog->adapterList.SetCell(0, colName, testAdapter);
    dialog->adapterList.SetCell(0, colMac, testMac);
    dialog->instanceList.DeleteAllRows();
    for (int i = 0; i < 3; ++i) {
        dialog->instanceList.InsertRow(i, std::to_wstring(i + 1));
        const std::wstring cells[] = {L"No", testAdapter, L"127.0.0.1", std::to_wstring(50000 + i),
                                      std::to_wstring(50830 + i), L"FS_QEL_Instance" + std::to_wstring(i),
                                      L"eval-trx9420.xml", L"development"};
        for (int c = 1; c < instanceColumnCount; ++c) dialog->instanceList.SetCell(i, c, cells[c - 1]);
    }
    dialog->currentInstance = 0;
    dialog->exeDrive = workDirectory.substr(0, 2);
    dialog->fileSystemFoldersPath = workDirectory.substr(3) + L"\\FileSystemFolders\\";
    hLogFileName_g.clear();
}

void LaunchFixture::TearDown() {
    if (dialog) {
        dialog->CloseAllOpenProcesses();
        dialog->FindAndCloseRunningProcesses();
    }
    EXPECT_TRUE(WaitUntilNoProcessNamed("dravik.exe", 10000)) << "a backend is still running";
    if (pipeRead) CloseHandle(pipeRead);
    if (pipeWrite) CloseHandle(pipeWrite);
    pipeRead = pipeWrite = nullptr;
    hWriteEndPoint_g = nullptr;
    dialog.reset();
    SetCurrentDirectoryW(previousDirectory.c_str());
    // A terminated process lets go of its files a moment after it is gone.
    for (int k = 0; k < 50 && !DeleteFolderTree(workDirectory); ++k) Sleep(100);
}

void LaunchFixture::Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount64() < end);
}

void LaunchFixture::PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void LaunchFixture::NewPipe() {
    if (pipeRead) CloseHandle(pipeRead);
    if (pipeWrite) CloseHandle(pipeWrite);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    ASSERT_TRUE(CreatePipe(&pipeRead, &pipeWrite, &inheritable, 0));
    SetHandleInformation(pipeRead, HANDLE_FLAG_INHERIT, 0);
    hWriteEndPoint_g = pipeWrite;
}

std::string LaunchFixture::ReadStatusRecord(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    std::string bytes;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipeRead, nullptr, 0, nullptr, &available, nullptr)) break;
        if (available > 0) {
            char buffer[1024];
            DWORD read = 0;
            if (!ReadFile(pipeRead, buffer, sizeof buffer, &read, nullptr)) break;
            bytes.append(buffer, read);
            if (bytes.size() >= 8) break;
        }
        if (GetTickCount64() > end) break;
        Sleep(20);
    }
    return bytes;
}

std::string LaunchFixture::WaitForStartRecord(int instance, DWORD timeoutMs) {
    const std::wstring path = InstanceFolder(instance) + L"\\dravik-started.txt";
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        if (FileExists(path)) return ReadWholeFile(path);
        Sleep(20);
    }
    return {};
}

std::wstring LaunchFixture::InstanceFolder(int instance) const {
    return workDirectory + L"\\FileSystemFolders\\FS_QEL_Instance" + std::to_wstring(instance);
}

}  // namespace launchtest
