// The decisions of the program-control message: hint texts, blink steps, the start-up
// failure report, the end of a search and the find-and-configure button. The dialog
// implements ProgramControlHost; tests replace it with a fake.
#pragma once

#include <string>

#include "common/ListTable.h"
#include "supervision/BackendWatch.h"

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
    virtual int StartTsnProcess() = 0;
    // The system's reason why the last start could not create its process; empty when a
    // check refused it (its box has said why) or it did not fail.
    virtual std::wstring ProcessCreationReason() = 0;
    virtual void* BackendProcess(int instance) = 0;
    // Terminates the backend with exit code 0xFFFFFFFF, waits at most 10 s for its end,
    // closes its handles and forgets it.
    virtual void TerminateBackend(int instance) = 0;
    virtual std::wstring ReadLogFile() = 0;
    virtual void CloseAllOpenProcesses() = 0;
    virtual void FindAndCloseRunningProcesses() = 0;
    virtual void StartFindQelDevThread() = 0;
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
    // The last 1023 bytes of a log file as text; empty for an empty name or no file.
    virtual std::wstring ReadLogTail(const std::wstring& logFile) = 0;

    // Start-up step.
    virtual void GetEthernetNetworkAdapters() = 0;
    virtual void ConfigureDialogWindow() = 0;
};

// Handles one program-control message; returns 0. Unknown codes and arguments do nothing.
long HandleProgramControl(ProgramControlHost& host, unsigned long code, long argument);

// The Find And Configure button: start, stop, or close all, by the Ctrl key and whether a search runs.
void HandleFindAndConfigureButton(ProgramControlHost& host);

// Every backend closed, with no search running: the program's own and every other
// "dravik.exe" (close-all, then the sweep). Also the dialog's close does this first.
void CloseEveryBackend(ProgramControlHost& host);

// The hint for a control identifier or, failing that, the hover flags; null for none.
const wchar_t* HintTextFor(long controlId, const bool mouseOverArea[4]);

// One blink step: the colour to show (onColour or 0 for off); the phase flips.
int BlinkStep(bool& phase, int onColour);

// Between a box's message and the tail of a backend's log.
constexpr const wchar_t* logTailSeparator = L"\n\n===========LOG===========\n";

// The text of the box after a failed start-up of instance number n, before the log tail.
std::wstring StartupFailureBoxText(int instanceNumber);

constexpr int ledOff = 0, ledGreen = 1, ledRed = 2, ledYellow = 3, ledBlue = 4, ledAmber = 5;
