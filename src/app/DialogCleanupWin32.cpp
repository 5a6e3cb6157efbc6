// Ending backend processes: those the program started, then every "dravik.exe". Both wait
// for the terminated processes to be gone, so that nothing started next finds their files
// still held.
#include "app/CtarnwickDlgWin32.h"
#include "supervision/LaunchPlan.h"
#include "app/DialogProgramControlHostWin32.h"
#include "supervision/SearchState.h"
#include "win32/Processes.h"

namespace {

// Termination is asynchronous; the processes normally end within milliseconds.
constexpr DWORD endingWaitMilliseconds = 1000;

}  // namespace

void CtarnwickDlg::CloseAllOpenProcesses() {
    DialogProgramControlHost host(*this);
    std::vector<HANDLE> ending;
    for (int i = 0; i < maxInstances; ++i) {
        StopWatchingBackend(host, i);  // the program's own termination is no exit to report
        if (i < instanceList.RowCount()) instanceList.SetCell(i, colActive, L"No");
        SetLedColor(instanceLed[i], 0);
        if (!processInfo[i].hProcess) continue;
        TerminateProcess(processInfo[i].hProcess, 1);
        ending.push_back(processInfo[i].hProcess);
    }
    WaitForProcessesToEnd(ending, endingWaitMilliseconds);
    for (UniqueProcessInformation& process : processInfo) {
        if (!process.hProcess) continue;
        // A monitor may still name it; it must not look at a closed handle.
        void* named = process.hProcess;
        currentProcessStartup_g.compare_exchange_strong(named, nullptr);
        process.Close();
        if (currentInstance > 0) --currentInstance;
    }
}

void CtarnwickDlg::FindAndCloseRunningProcesses() {
    std::vector<UniqueHandle> ending;
    for (DWORD id : EnumerateProcessIds()) {
        // With the right to wait for its end where the system grants it.
        UniqueHandle process(OpenProcess(processQueryReadTerminate | SYNCHRONIZE, FALSE, id));
        if (!process) process.reset(OpenProcess(processQueryReadTerminate, FALSE, id));
        if (!process) continue;
        const std::string name = ProcessBaseName(process.get());
        if (name.empty() || name != backendProcessName) continue;
        TerminateProcess(process.get(), 0);
        ending.push_back(std::move(process));
    }
    std::vector<HANDLE> handles;
    for (const UniqueHandle& process : ending) handles.push_back(process.get());
    WaitForProcessesToEnd(handles, endingWaitMilliseconds);
}
