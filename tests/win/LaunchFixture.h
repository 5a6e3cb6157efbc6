// A live main dialog in a scratch working directory that holds the configuration file,
// the stand-in backend "dravik.exe" and a FileSystemFolders layout with three instance
// folders; an adapter row and three instance rows filled by the test. Every backend the
// test starts is ended in TearDown.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CtarnwickDlgWin32.h"

namespace launchtest {

constexpr const wchar_t* testMac = L"00-11-22-AA-BB-CC";
constexpr const wchar_t* testAdapter = L"Lab Ethernet";

std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& content);
// The "key=value" line of the stand-in's start record, without the line end.
std::string RecordValue(const std::string& record, const std::string& key);
std::string Narrow(const std::wstring& text);
// Where the built dravik.exe lies: $BRISVALE_BIN, else beside this test program.
std::wstring BuiltBackendPath();
// Running processes whose main module is named exactly name.
int CountProcessesNamed(const char* name);
bool WaitUntilNoProcessNamed(const char* name, DWORD timeoutMs);

class LaunchFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pumps the dialog's messages for a while.
    void Pump(DWORD ms);
    // Handles every message already queued (what the dialog posted itself), then returns.
    static void PumpPending();
    // A fresh status pipe: its inheritable write end goes to hWriteEndPoint_g.
    void NewPipe();
    // Waits up to timeoutMs for the status record on the pipe; the raw bytes.
    std::string ReadStatusRecord(DWORD timeoutMs = 20000);
    // Waits until the instance's stand-in has written its start record.
    std::string WaitForStartRecord(int instance, DWORD timeoutMs = 20000);
    std::wstring InstanceFolder(int instance) const;

    std::wstring previousDirectory;
    std::wstring workDirectory;  // "C:\users\...\Temp\launch-..."
    std::unique_ptr<CtarnwickDlg> dialog;
    HANDLE pipeRead = nullptr;
    HANDLE pipeWrite = nullptr;
};

}  // namespace launchtest
