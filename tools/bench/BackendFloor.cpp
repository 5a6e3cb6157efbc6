#include "BackendFloor.h"

#include <windows.h>

#include <cstring>

#include "BenchSupport.h"
#include "config/ConfigFile.h"
#include "supervision/BackendStartWin32.h"
#include "supervision/LaunchPlan.h"
#include "win32/Files.h"

namespace {

// Blocks until the whole status record (status, length, text) has been read; false when
// the pipe broke first.
bool ReadWholeRecord(HANDLE pipe) {
    unsigned char record[1024];
    DWORD have = 0;
    for (;;) {
        if (have >= 8) {
            int length = 0;
            std::memcpy(&length, record + 4, sizeof length);
            if (length < 0 || length > static_cast<int>(sizeof record) - 8 || have >= 8 + static_cast<DWORD>(length))
                return true;
        }
        DWORD got = 0;
        if (!ReadFile(pipe, record + have, sizeof record - have, &got, nullptr) || got == 0) return false;
        have += got;
    }
}

// One start as the program makes it; returns the read end of the status pipe, or null
// with error set.
HANDLE StartBackend(const LaunchInputs& base, int instance, std::vector<HANDLE>& processes, std::wstring& error) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        error = L"no pipe";
        return nullptr;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    LaunchInputs inputs = base;
    inputs.instance = instance;
    inputs.pipeHandleValue = static_cast<long long>(reinterpret_cast<intptr_t>(writeEnd));
    const LaunchPlan plan = PlanLaunch(inputs);
    if (!plan.ok) {
        error = L"QEL " + std::to_wstring(instance + 1) + L": " + plan.errorText;
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return nullptr;
    }

    UniqueFile log = CreateBackendLog(plan.logFile, plan.logHeader);
    if (!log) {
        error = L"cannot create " + plan.logFile;
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return nullptr;
    }

    std::wstring title = plan.consoleTitle;
    STARTUPINFOW startup = BackendStartupInfo(title.data());
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = log.get();
    startup.hStdError = log.get();
    SetEnvironmentVariableW(repositoryVariableName, plan.repositoryPath.c_str());
    std::wstring commandLine = plan.arguments;
    PROCESS_INFORMATION pi{};
    const bool created = CreateProcessW(backendProgramName, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &pi);
    log.reset();
    CloseHandle(writeEnd);  // the backend has its own: a backend that ends breaks the pipe
    if (!created) {
        error = L"cannot start dravik.exe (error " + std::to_wstring(GetLastError()) + L")";
        CloseHandle(readEnd);
        return nullptr;
    }
    CloseHandle(pi.hThread);
    processes.push_back(pi.hProcess);
    return readEnd;
}

}  // namespace

FloorResult MeasureBackendFloor(const ListTable& instanceTable, const ListTable& adapterList, int count,
                                const std::wstring& programPath) {
    FloorResult result;
    const FileSystemFolderLocation folders = LocateFileSystemFolders(programPath, DirectoryExists);
    LaunchInputs base;
    base.instanceTable = &instanceTable;
    base.adapterList = &adapterList;
    base.exeDrive = folders.exeDrive;
    base.fileSystemFoldersPath = folders.fileSystemFoldersPath;
    base.directoryExists = DirectoryExists;
    base.fileExists = FileExists;

    std::vector<HANDLE> processes;
    const double t0 = Now();
    double previous = t0;
    for (int i = 0; i < count; ++i) {
        HANDLE readEnd = StartBackend(base, i, processes, result.error);
        if (!readEnd) break;
        const bool read = ReadWholeRecord(readEnd);
        CloseHandle(readEnd);
        if (!read) {
            result.error = L"QEL " + std::to_wstring(i + 1) + L": the pipe broke before a whole record came";
            break;
        }
        const double now = Now();
        result.instanceMs.push_back(now - previous);
        previous = now;
    }
    result.totalMs = previous - t0;
    result.ok = static_cast<int>(result.instanceMs.size()) == count;
    for (HANDLE process : processes) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return result;
}
