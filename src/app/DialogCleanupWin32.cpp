// Ending backend processes: those the program started, then every "dravik.exe". Both wait
// for the terminated processes to be gone, so that nothing started next finds their files
// still held.
#include "app/CtarnwickDlgWin32.h"
#include "app/DialogProgramControlHostWin32.h"
#include "supervision/LaunchPlan.h"
#include "supervision/ProgramControlEvents.h"
#include "win32/Processes.h"

namespace {

// Termination is asynchronous; the processes normally end within milliseconds.
constexpr DWORD endingWaitMilliseconds = 1000;

}  // namespace

void CtarnwickDlg::CloseAllOpenProcesses() {
    DialogProgramControlHost host(*this);
    CloseProgramBackends(host);
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
