// The program-control message: every report of the threads and the mouse handling.
#include "app/DialogProgramControlHostWin32.h"
#include "common/ProgramControl.h"
#include "supervision/SearchState.h"
#include "win32/MessageBox.h"
#include "win32/Processes.h"
#include "win32/SystemError.h"

LRESULT CtarnwickDlg::OnProgramControl(WPARAM code, LPARAM argument) {
    DialogProgramControlHost host(*this);
    return HandleProgramControl(host, static_cast<unsigned long>(code), static_cast<long>(argument));
}

void DialogProgramControlHost::FocusInstanceRow(int row) {
    d_.instanceList.SetFocus();
    d_.instanceList.SetRowSelected(row, true);
    d_.instanceList.EnsureVisible(row);
}

void DialogProgramControlHost::ShowErrorBox(const std::wstring& text, const std::wstring& caption) {
    ShowMessageBox(d_.GetSafeHwnd(), caption, text, BoxKind::error);
}

void DialogProgramControlHost::PostProgramControl(unsigned code, long argument) {
    PostMessageW(d_.GetSafeHwnd(), programControlMessage, code, argument);
}

void DialogProgramControlHost::SendCloseCommand() { SendMessageW(d_.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }

void DialogProgramControlHost::TerminateBackendProcess(int instance, unsigned long exitCode) {
    if (HANDLE process = d_.processInfo[instance].hProcess) TerminateProcess(process, static_cast<UINT>(exitCode));
}

void DialogProgramControlHost::WaitForBackendsToEnd(const std::vector<int>& instances, unsigned long milliseconds) {
    std::vector<HANDLE> processes;
    for (int i : instances)
        if (HANDLE process = d_.processInfo[i].hProcess) processes.push_back(process);
    WaitForProcessesToEnd(processes, milliseconds);
}

std::wstring DialogProgramControlHost::ReadLogFile() { return ReadLogTail(hLogFileName_g); }

std::wstring DialogProgramControlHost::ReadLogTail(const std::wstring& logFile) { return d_.ReadLogFile(logFile, true); }

void DialogProgramControlHost::WaitForWorkerEnd() {
    if (HANDLE worker = hThreadFindAndConfigureQelDevice_g.load()) WaitForSingleObject(worker, INFINITE);
}

void DialogProgramControlHost::WaitForThreadEndAndClose(void* thread) {
    UniqueHandle owned(static_cast<HANDLE>(thread));
    WaitForSingleObject(owned.get(), INFINITE);
}

bool DialogProgramControlHost::WaitForBackendExit(int instance, std::wstring& reason) {
    if (d_.backendExitWatcher.Watch(d_.GetSafeHwnd(), instance, d_.processInfo[instance].hProcess)) return true;
    reason = SystemErrorText(GetLastError());
    return false;
}

bool DialogProgramControlHost::BackendHasEnded(int instance, unsigned long& exitCode) {
    HANDLE process = d_.processInfo[instance].hProcess;
    DWORD code = 0;
    if (!process || WaitForSingleObject(process, 0) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code)) return false;
    exitCode = code;
    return true;
}
