// The watch over backends that started well. A backend is watched from the report of its
// good start-up until the program ends it itself (close-all, the failure handling) or its
// exit has been reported. A watched backend that ends by itself or from outside turns its
// row to "No" and its LED red, and one box says so with the end of that instance's own
// log. Boxes come one after another: an exit reported while such a box is open (its modal
// loop handles posted messages) shows its row and LED at once and its box after the open
// one has closed. The waiting on the processes is the host's; these are the decisions,
// taken on the dialog's thread only.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "common/ListTable.h"
#include "supervision/ProgramControlHost.h"

// What the watch remembers, held by the dialog.
struct BackendWatch {
    bool watched[maxInstances] = {};
    // The log file of each instance's latest start; empty when that start wrote none
    // (started with Alt held, its output in a console window).
    std::wstring logFile[maxInstances];
    std::deque<std::wstring> queuedBoxes;  // exit boxes waiting for the open one to close
    bool boxOpen = false;
};

// The start-up of instance i was reported good: watch its process from now on.
void WatchBackend(ProgramControlHost& host, int instance);
// The program is about to end instance i's backend itself: that exit is not reported.
void StopWatchingBackend(ProgramControlHost& host, int instance);
// The host saw instance i's process end. Reported only when the instance is still watched
// and its recorded process has really ended (a report about an earlier backend of a
// restarted instance, or one that crossed the program's own close, is ignored).
void ReportBackendExit(ProgramControlHost& host, int instance);

// The box after instance number n's backend ended with exitCode, before the log tail.
// The code is shown as Windows shows exit codes: unsigned decimal (4294967295, not -1).
std::wstring UnexpectedExitBoxText(int instanceNumber, unsigned long exitCode);

// Where the exit box's log tail starts in `tail`, the last bytes of a log: when they were cut
// from a longer file, just after their first line break, so the first line shown is whole;
// at 0 when they hold the whole file, or no line after a break (nothing would be left).
size_t ExitBoxTailStart(std::string_view tail, bool cutFromLongerFile);

constexpr const wchar_t* unexpectedExitCaption = L"Unexpected process exit";

// The box when a backend that started well cannot be watched, with the system's reason.
std::wstring UnwatchedBackendBoxText(int instanceNumber, const std::wstring& reason);
constexpr const wchar_t* unwatchedBackendCaption = L"Process watch";
