// The main dialog as the program-control decisions see it: its state, its effects, and the
// system's primitives for backends and threads. The dialog implements it; tests replace it
// with a fake that models the system, never the program's own steps.
#pragma once

#include <string>
#include <vector>

#include "common/ListTable.h"

struct BackendWatch;

// The LED colours, in the order of the LED images.
constexpr int ledOff = 0, ledGreen = 1, ledRed = 2, ledYellow = 3, ledBlue = 4, ledAmber = 5;

// Between a box's message and the tail of a backend's log.
constexpr const wchar_t* logTailSeparator = L"\n\n===========LOG===========\n";

class ProgramControlHost {
public:
    virtual ~ProgramControlHost() = default;

    // Dialog state.
    virtual std::wstring& HintText() = 0;
    virtual const bool* MouseOverArea() = 0;  // close, minimize, drag bar, title bar
    virtual bool& SearchLedBlink() = 0;
    virtual bool& InstanceLedBlink(int instance) = 0;
    virtual int& CurrentInstance() = 0;
    virtual bool CtrlKeyDown() = 0;
    virtual ListTable& InstanceList() = 0;

    // Effects on the dialog.
    virtual void SetInstanceLedColor(int instance, int colour) = 0;
    virtual void SetSearchLedColor(int colour) = 0;
    virtual void InvalidateHintLine() = 0;  // the hint text changed
    virtual void FocusInstanceRow(int row) = 0;
    virtual void EnableCloseAdapterButton(bool enable) = 0;
    virtual void ShowErrorBox(const std::wstring& text, const std::wstring& caption) = 0;
    virtual void PostProgramControl(unsigned code, long argument) = 0;
    // The system close: the dialog closes every backend (CloseEveryBackend) and ends.
    virtual void SendCloseCommand() = 0;

    // Backends and threads.
    // Starts the backend of the instance as StartTsnProcess starts currentInstance's: 1 when
    // started, else 0 (the checks' boxes are shown). currentInstance advances only when it
    // was that instance (a restart of an earlier row starts it in place).
    virtual int StartBackend(int instance) = 0;
    // The system's reason why the last start could not create its process; empty when a
    // check refused it (its box has said why) or it did not fail.
    virtual std::wstring ProcessCreationReason() = 0;
    virtual void* BackendProcess(int instance) = 0;
    // The system's side of ending a backend: asks the system to end instance i's process
    // with this exit code (it ends a moment later), waits until the processes of these
    // instances have all ended or the time is up, closes the handles of instance i's
    // process and forgets it.
    virtual void TerminateBackendProcess(int instance, unsigned long exitCode) = 0;
    virtual void WaitForBackendsToEnd(const std::vector<int>& instances, unsigned long milliseconds) = 0;
    virtual void ForgetBackendProcess(int instance) = 0;
    virtual std::wstring ReadLogFile() = 0;
    // Close-all as the dialog does it (CloseProgramBackends).
    virtual void CloseAllOpenProcesses() = 0;
    virtual void FindAndCloseRunningProcesses() = 0;
    virtual void StartFindQelDevThread() = 0;
    // A search of this one instance (a restart from its LED's menu).
    virtual void StartOneInstanceSearch(int instance) = 0;
    // Blocks until the worker thread has ended (on its handle, no polling).
    virtual void WaitForWorkerEnd() = 0;
    // Blocks until the given thread has ended, then closes its handle.
    virtual void WaitForThreadEndAndClose(void* thread) = 0;

    // The watch over started backends (supervision/BackendWatch.h).
    virtual BackendWatch& Watch() = 0;
    // Wait, on another thread, for the process of instance i to end (then pcBackendExited, i
    // is posted once); false, with the system's reason, when that wait cannot begin. Or stop
    // waiting for it.
    virtual bool WaitForBackendExit(int instance, std::wstring& reason) = 0;
    virtual void StopWaitingForBackendExit(int instance) = 0;
    // True when the recorded process of instance i has ended; its exit code.
    virtual bool BackendHasEnded(int instance, unsigned long& exitCode) = 0;
    // The last 1023 bytes of a log file as text, from the first whole line in them
    // (ExitBoxTailStart); empty for an empty name or no file.
    virtual std::wstring ReadLogTail(const std::wstring& logFile) = 0;

    // True when the button could start a search now: enabled (a configuration was read)
    // and the window not held by a box.
    virtual bool CanStartSearch() = 0;

    // Start-up step.
    virtual void GetEthernetNetworkAdapters() = 0;
    virtual void ConfigureDialogWindow() = 0;
};
