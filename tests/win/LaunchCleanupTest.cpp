// Ending backends: the program's own, and every "dravik.exe" on the workstation.
#include "LaunchFixture.h"
#include "MessageBoxWatcher.h"
#include "supervision/FolderRemovalWin32.h"
#include "win32/Files.h"
#include "supervision/SearchState.h"
#include "win32/Handles.h"
#include "win32/Processes.h"

namespace launchtest {

using supervision::DeleteFolderTree;
namespace {

using LaunchCleanup = LaunchFixture;

// Starts a program outside the dialog, in the given working directory.
UniqueHandle StartOutside(const std::wstring& program, const std::wstring& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        directory.c_str(), &startup, &info))
        return UniqueHandle();
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

UniqueHandle DuplicateOf(HANDLE process) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return UniqueHandle(copy);
}

TEST_F(LaunchCleanup, CloseAllEndsTheStartedBackendsAndResetsEveryRow) {
    UniqueHandle watched[3];
    for (int i = 0; i < 3; ++i) {
        NewPipe();
        ASSERT_EQ(dialog->StartTsnProcess(), 1);
        ASSERT_EQ(ReadStatusRecord().size(), 8u);
        dialog->instanceList.SetCell(i, colActive, L"Yes");
        watched[i] = DuplicateOf(dialog->processInfo[i].hProcess);
    }
    dialog->SetLedColor(dialog->instanceLed[1], 1);
    ASSERT_EQ(dialog->currentInstance, 3);

    dialog->CloseAllOpenProcesses();
    EXPECT_EQ(dialog->currentInstance, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog->instanceList.Cell(i, colActive), L"No");
        EXPECT_EQ(dialog->processInfo[i].hProcess, nullptr);
        ASSERT_EQ(WaitForSingleObject(watched[i].get(), 10000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(watched[i].get(), &code);
        EXPECT_EQ(code, 1u);
    }
    for (int i = 0; i < 10; ++i) EXPECT_EQ(dialog->instanceLed[i].GetBitmap(), dialog->ledOffBitmap.get()) << i;

    // Nothing left to close: only the rows and LEDs are reset, the count stays at 0.
    dialog->instanceList.SetCell(0, colActive, L"Yes");
    dialog->CloseAllOpenProcesses();
    EXPECT_EQ(dialog->currentInstance, 0);
    EXPECT_EQ(dialog->instanceList.Cell(0, colActive), L"No");

    // The next start begins at the first row again.
    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    EXPECT_NE(dialog->processInfo[0].hProcess, nullptr);
}

// A terminated process lets go of its files a moment after TerminateProcess returns (under
// Wine even after its handle is signalled). The start that follows a close-all at once must
// still get its log: no refusal box, and what the new backend writes lands in a fresh file.
// Each start right after a close-all gets a log of its own, never one still held by the
// backend just closed. (Wine already signals a process terminated by another before
// TerminateProcess returns, so this cannot tell whether close-all waits; the wait itself
// is TheWaitForEndedBackendsTrustsOnlyAWaitThatSucceeded's.)
TEST_F(LaunchCleanup, AStartRightAfterCloseAllGetsAFreshLog) {
    for (int round = 0; round < 6; ++round) {
        std::vector<std::wstring> boxes = CaptureMessageBoxes(L"Process creation", [&] {
            for (int i = 0; i < 3; ++i) {
                NewPipe();
                ASSERT_EQ(dialog->StartTsnProcess(), 1) << "round " << round << ", instance " << i;
                ASSERT_EQ(ReadStatusRecord().size(), 8u);
            }
        });
        EXPECT_TRUE(boxes.empty()) << "round " << round << ": " << Narrow(boxes.empty() ? L"" : boxes[0]);
        for (int i = 0; i < 3; ++i) {
            const std::string own = "process " + std::to_string(dialog->processInfo[i].dwProcessId) + ",";
            const std::string log = ReadWholeFile(InstanceFolder(i) + L"\\log\\output.log");
            EXPECT_NE(log.find(own), std::string::npos) << "round " << round << ", instance " << i << ":\n" << log;
            EXPECT_EQ(log.find("dravik stand-in backend"), log.rfind("dravik stand-in backend"))
                << "round " << round << ", instance " << i << ": one run per log";
        }
        currentProcessStartup_g = dialog->processInfo[2].hProcess;
        dialog->CloseAllOpenProcesses();
        EXPECT_EQ(currentProcessStartup_g.load(), nullptr) << "no handle of a closed backend stays named";
    }
}

TEST_F(LaunchCleanup, TheWaitForEndedBackendsTrustsOnlyAWaitThatSucceeded) {
    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    ASSERT_EQ(ReadStatusRecord().size(), 8u);
    HANDLE backend = dialog->processInfo[0].hProcess;
    // Opened without the right to wait on it: the wait fails at once, which says nothing
    // of the process, so it has not ended.
    UniqueHandle unwaitable(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetProcessId(backend)));
    ASSERT_TRUE(unwaitable);
    EXPECT_FALSE(WaitForProcessesToEnd({unwaitable.get()}, 200));
    EXPECT_FALSE(WaitForProcessesToEnd({backend}, 200)) << "it still runs";
    ASSERT_TRUE(TerminateProcess(backend, 1));
    // One handle that cannot be waited on costs the others nothing: they are still waited for.
    const ULONGLONG before = GetTickCount64();
    EXPECT_FALSE(WaitForProcessesToEnd({unwaitable.get(), backend}, 5000));
    EXPECT_EQ(WaitForSingleObject(backend, 0), WAIT_OBJECT_0);
    EXPECT_LT(GetTickCount64() - before, 4000u);
    EXPECT_TRUE(WaitForProcessesToEnd({backend}, 5000));
}

TEST_F(LaunchCleanup, AfterTheSweepEveryBackendHasEnded) {
    UniqueHandle strays[3];
    for (UniqueHandle& stray : strays) {
        stray = StartOutside(workDirectory + L"\\dravik.exe", workDirectory);
        ASSERT_TRUE(stray);
    }
    for (int k = 0; k < 500 && !FileExists(workDirectory + L"\\dravik-started.txt"); ++k) Sleep(20);
    dialog->FindAndCloseRunningProcesses();
    for (UniqueHandle& stray : strays) EXPECT_EQ(WaitForSingleObject(stray.get(), 0), WAIT_OBJECT_0);
}

TEST_F(LaunchCleanup, SweepEndsEveryDravikExeAndSparesOtherNames) {
    const std::wstring otherFolder = workDirectory + L"\\other";
    ASSERT_TRUE(CreateDirectoryW(otherFolder.c_str(), nullptr));
    const std::wstring capitalised = otherFolder + L"\\Dravik.exe";
    ASSERT_TRUE(CopyFileW((workDirectory + L"\\dravik.exe").c_str(), capitalised.c_str(), FALSE));

    UniqueHandle stray = StartOutside(workDirectory + L"\\dravik.exe", workDirectory);
    UniqueHandle spared = StartOutside(capitalised, otherFolder);
    ASSERT_TRUE(stray);
    ASSERT_TRUE(spared);
    // Both are up once they have written their start records.
    for (int k = 0; k < 500 && !(FileExists(workDirectory + L"\\dravik-started.txt") &&
                                 FileExists(otherFolder + L"\\dravik-started.txt"));
         ++k)
        Sleep(20);
    ASSERT_EQ(CountProcessesNamed("Dravik.exe"), 1);

    dialog->FindAndCloseRunningProcesses();
    ASSERT_EQ(WaitForSingleObject(stray.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(stray.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(WaitForSingleObject(spared.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(dialog->currentInstance, 0);

    TerminateProcess(spared.get(), 0);
    WaitForSingleObject(spared.get(), 10000);
}

}  // namespace
}  // namespace launchtest
