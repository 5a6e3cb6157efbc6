// Ending backend processes: those the program started, then every "dravik.exe".
#include "app/CtarnwickDlgWin32.h"
#include "supervision/LaunchPlan.h"
#include "supervision/ProgramControlHostWin32.h"
#include "win32/Processes.h"

void CtarnwickDlg::CloseAllOpenProcesses() {
    DialogProgramControlHost host(*this);
    for (int i = 0; i < maxInstances; ++i) {
        StopWatchingBackend(host, i);  // the program's own termination is no exit to report
        if (i < instanceList.RowCount()) instanceList.SetCell(i, colActive, L"No");
        SetLedColor(instanceLed[i], 0);
        PROCESS_INFORMATION& process = processInfo[i];
        if (!process.hProcess) continue;
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        if (process.hThread) CloseHandle(process.hThread);
        process.hProcess = nullptr;
        process.hThread = nullptr;
        if (currentInstance > 0) --currentInstance;
    }
}

void CtarnwickDlg::FindAndCloseRunningProcesses() {
    for (DWORD id : EnumerateProcessIds()) {
        UniqueHandle process(OpenProcess(processQueryReadTerminate, FALSE, id));
        if (!process) continue;
        const std::string name = ProcessBaseName(process.get());
        if (!name.empty() && name == backendProcessName) TerminateProcess(process.get(), 0);
    }
}
