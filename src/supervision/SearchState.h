// The state a search shares between the dialog, the worker and the status monitor: its
// flags, the status pipe, the watched process, the failure text and the threads' handles.
// Handles are void* (a HANDLE) so that the core holds them without <windows.h>.
//
// The threads: the dialog's window thread (D), the search worker (W) and the status monitor
// (M) of the instance in flight. Each variable below says who writes it and who reads it.
// A variable that one thread writes and another reads is an atomic; a plain one is handed
// over by an atomic written after it (release) and read before it (acquire), as noted.
// Nobody writes a variable while another thread writes it: the protocol orders the writers
// (D starts W, W starts M and waits for its end, D waits for W's end).
#pragma once

#include <atomic>
#include <string>

// --- flags ---
// A search runs. Written by D only (set as it starts the worker, cleared when the search's
// end is handled or the worker could not start); read by D (the button, the table, the mouse).
extern std::atomic<bool> findQelDevThreadRunning_g;
// Stop after the instance in flight. Set by D (a click, a close), cleared by D when the
// search's end is handled; read by W between instances.
extern std::atomic<bool> stopFindQelDevThread_g;
// The monitor gives up its watch. Set by D (a close, a failed start), cleared by W before it
// starts each monitor; read by M in every wait.
extern std::atomic<bool> stopCheckQelDevStatusThread_g;
// Close the dialog / close all and search again once the worker has ended. Set by D, taken
// (read and cleared) by D when the search's end is handled; read by W to stop at once.
extern std::atomic<bool> closeAppAfterThreadExit_g;
extern std::atomic<bool> closeRunningProcesses_g;
// The backend reported a failed start-up / a failed discovery. Set by M when it judges the
// record; cleared by D as a search starts and by W once a monitor left by a stopped search
// has reported; read by W after M ended and by D when the search's end is handled.
extern std::atomic<bool> processStartupFailure_g;
extern std::atomic<bool> qelDiscoveryFailure_g;
// D could not start the backend of the instance in flight. Set by D (ReportStartFailed),
// cleared by D as a search starts and by W before each start request; read by W.
extern std::atomic<bool> processCreationError_g;
// The failure text of the record. Written by M only, before it clears hReadEndPoint_g
// (release); read by D after the worker, which waits for M, has ended.
extern std::wstring errorMessage_g;
// What M has received so far: M's alone.
extern unsigned char recvBuffer_g[1024];

// --- backend launch ---
// The status pipe of the instance in flight. Made and closed by W (through the platform);
// M clears both after its report. The read end is M's to read; D reads the write end's value
// for the backend's command line while W waits for the start.
extern std::atomic<void*> hReadEndPoint_g;
extern std::atomic<void*> hWriteEndPoint_g;
// The process of the instance in flight. Set by D when the backend exists; cleared by W
// before each start, by D as a search starts and by D's close-all (only while it still
// names the closed process); read by W (the start happened) and M (the process to watch).
extern std::atomic<void*> currentProcessStartup_g;
// The log of the latest start: D's alone (written by the launch, read for a failure box).
extern std::wstring hLogFileName_g;

// --- threads ---
// Handles of the latest worker and browser thread: D's alone (a new one replaces and closes
// the old; D waits on the worker's before a new search or a close).
extern std::atomic<void*> hThreadFindAndConfigureQelDevice_g;
extern std::atomic<void*> hThreadLaunchWebBrowser_g;
// The thread objects of the latest worker and browser thread (they delete themselves;
// kept for inspection only, never dereferenced): D's alone.
extern std::atomic<class NamedThread*> threadFindAndConfigureQelDevice_gp;
extern std::atomic<class NamedThread*> threadLaunchWebBrowser_gp;
// A status monitor that a plainly stopped search left watching its instance: the handle
// of its thread, owned here until the next search has waited for its report. Set by W (a
// plain stop), taken by the next W (exchange) or by D's close (exchange, then waited for);
// read by D when the search's end is handled (a lingering monitor reports by itself).
extern std::atomic<void*> hLingeringStatusThread_g;

// The searches begun so far: D's alone. A start request handled inside a box's loop may
// find that its search has ended there and another begun.
extern unsigned searchesBegun_g;
// The instance whose backend the running search started last; -1 before its first start.
// Dialog thread only: the end of the search judges that instance.
extern int lastStartedInstance_g;

// The platform the search's threads wait on; the requests below wake them through it.
// Set by D as a search starts; read by whichever thread makes a request.
extern std::atomic<class SearchPlatform*> searchPlatform_g;

// Every flag and handle of the search back to its start-up value (tests run many
// searches in one process).
void ResetSearchGlobals();

// The start of a search as the dialog records it: running on this platform, no failure,
// no failed start, and no watched process (unless a monitor left by a plainly stopped
// search still watches one: that backend may yet end).
void BeginSearchFlags(SearchPlatform& platform);

// What the dialog tells a running search. Each wakes the worker's and the monitor's waits,
// so that they act on it at once.
void RequestSearchStop();             // the worker stops after the instance in flight
void RequestSearchStopAndCloseAll();  // then all backends are closed and a new search starts
void RequestSearchStopAndCloseApp();  // then all backends are closed and the dialog closes
void RequestMonitorStop();            // the status monitor gives up its watch
void ReportBackendStarted(void* process);  // the backend of the instance in flight exists
void ReportStartFailed();             // the dialog could not start it
void WakeSearchThreads();
