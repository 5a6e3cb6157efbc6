// Starting one backend process for one instance, and reading the tail of its log.
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "common/AnsiText.h"
#include "supervision/BackendStartWin32.h"
#include "supervision/BackendWatch.h"
#include "supervision/FolderRemovalWin32.h"
#include "supervision/LaunchPlan.h"
#include "supervision/SearchState.h"
#include "win32/Files.h"
#include "win32/HeldFiles.h"
#include "win32/MessageBox.h"
#include "win32/SystemError.h"

using supervision::DeleteFolderTree;

namespace {

constexpr DWORD logTailBytes = 1023;
// A backend that has just ended may hold its log a moment longer; reading the tail waits
// that out for at most one blink step (a search may be running).
constexpr ULONGLONG logHoldWaitMilliseconds = 250;

void ShowLaunchError(HWND owner, const std::wstring& text) {
    ShowMessageBox(owner, L"Process creation", text, BoxKind::error);
}

// Held at the moment of the start, the Alt key asks for a visible console instead of the
// log. The keyboard's own state: the thread's (GetKeyState) lags behind until its messages
// are read, and may still show an Alt released long ago.
bool AltKeyDown() { return (GetAsyncKeyState(VK_MENU) & 0x8000) != 0; }

}  // namespace

int CtarnwickDlg::StartTsnProcess() { return StartInstanceProcess(currentInstance); }

int CtarnwickDlg::StartInstanceProcess(int i) {
    processCreationReason.clear();
    if (i < 0 || i >= maxInstances) return 0;

    LaunchInputs inputs;
    inputs.instance = i;
    inputs.instanceTable = &instanceList;
    inputs.adapterList = &adapterList;
    inputs.exeDrive = exeDrive;
    inputs.fileSystemFoldersPath = fileSystemFoldersPath;
    inputs.pipeHandleValue = static_cast<long long>(reinterpret_cast<intptr_t>(hWriteEndPoint_g.load()));
    inputs.directoryExists = DirectoryExists;
    inputs.fileExists = FileExists;
    const LaunchPlan plan = PlanLaunch(inputs);

    if (plan.macLookedUp) instanceMacAddress = plan.macAddress;
    if (!plan.ok) {
        if (!plan.errorText.empty()) ShowLaunchError(hwnd_, plan.errorText);
        return 0;
    }

    if (repositoryResetPending[i]) {
        if (DirectoryExists(plan.repositoryFolder)) DeleteFolderTree(plan.repositoryFolder);
        repositoryResetPending[i] = false;
    }

    // The title must outlive the call; the record keeps a pointer to it.
    static std::wstring consoleTitles[maxInstances];
    consoleTitles[i] = plan.consoleTitle;
    STARTUPINFOW& startup = startupInfo[i];
    startup = BackendStartupInfo(consoleTitles[i].data());
    // A record still holding handles (a backend nobody closed) gives them up first.
    processInfo[i].Close();
    DWORD creationFlags = CREATE_NO_WINDOW;

    // The program's copy of the log handle is closed on every way out; the backend has its own.
    UniqueFile logFile;
    if (AltKeyDown()) {
        creationFlags = CREATE_NEW_CONSOLE;
    } else {
        hLogFileName_g = plan.logFile;
        logFile = CreateBackendLog(plan.logFile, plan.logHeader);
        if (!logFile) {
            // A backend whose output goes nowhere could report no failure; a box later
            // would show an older run's log. Say so now instead.
            ShowLaunchError(hwnd_, L"Log file \"" + plan.logFile + L"\" of QEL " + std::to_wstring(i + 1) +
                                       L" cannot be created\n" + SystemErrorText(GetLastError()));
            return 0;
        }
        startup.hStdOutput = logFile.get();
        startup.hStdError = logFile.get();
        startup.dwFlags = STARTF_USESTDHANDLES;
    }

    if (!SetEnvironmentVariableW(repositoryVariableName, plan.repositoryPath.c_str())) {
        ShowLaunchError(hwnd_, L"SetEnvironmentVariable failed");
        return 0;
    }

    std::vector<wchar_t> commandLine(plan.arguments.begin(), plan.arguments.end());
    commandLine.push_back(L'\0');
    if (!CreateProcessW(backendProgramName, commandLine.data(), nullptr, nullptr, TRUE, creationFlags, nullptr, nullptr,
                        &startup, processInfo[i].put())) {
        processCreationReason = SystemErrorText(GetLastError());
        return 0;
    }

    // Each instance's own log, for a later report of its exit.
    backendWatch.logFile[i] = creationFlags == CREATE_NEW_CONSOLE ? std::wstring() : plan.logFile;
    if (i == currentInstance) ++currentInstance;  // a restart of an earlier row keeps the count
    return 1;
}

std::wstring CtarnwickDlg::ReadLogFile() { return ReadLogFile(hLogFileName_g); }

std::wstring CtarnwickDlg::ReadLogFile(const std::wstring& logFile, bool fromWholeLine) {
    if (logFile.empty() || !FileExists(logFile)) return {};
    // Shared with a writer: a backend that has just ended may hold its log a while longer
    // (under load, longer than the hold is waited out), and the box needs the tail.
    UniqueFile file = CreateFileWaitingOutHolds(logFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, logHoldWaitMilliseconds);
    if (!file) return {};
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(logTailBytes);
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(file.get(), back, &position, FILE_END)) {  // a shorter file: all of it
        position.QuadPart = 0;
        SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN);
    }
    char buffer[logTailBytes];
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, logTailBytes, &read, nullptr)) return {};
    std::string_view tail(buffer, read);
    if (fromWholeLine) tail.remove_prefix(ExitBoxTailStart(tail, position.QuadPart > 0));
    return WidenAnsi(tail);
}
