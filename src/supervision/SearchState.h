// The state a search shares between the dialog, the worker and the status monitor: its
// flags, the status pipe, the watched process, the failure text and the threads' handles.
// A flag or handle that one thread writes and another reads is an atomic; each has one
// writer at a time. Handles are void* (a HANDLE) so that the core holds them without
// <windows.h>.
#pragma once

#include <atomic>
#include <string>

// --- flags ---
extern std::atomic<bool> findQelDevThreadRunning_g;
extern std::atomic<bool> stopFindQelDevThread_g;
extern std::atomic<bool> stopCheckQelDevStatusThread_g;
extern std::atomic<bool> closeAppAfterThreadExit_g;
extern std::atomic<bool> closeRunningProcesses_g;
extern std::atomic<bool> processStartupFailure_g;
extern std::atomic<bool> qelDiscoveryFailure_g;
extern std::atomic<bool> processCreationError_g;
// Written by the monitor before it clears hReadEndPoint_g (release); read after that.
extern std::wstring errorMessage_g;
extern unsigned char recvBuffer_g[1024];

// --- backend launch ---
extern std::atomic<void*> hReadEndPoint_g;
extern std::atomic<void*> hWriteEndPoint_g;
extern std::atomic<void*> currentProcessStartup_g;
extern std::wstring hLogFileName_g;

// --- threads ---
extern std::atomic<void*> hThreadFindAndConfigureQelDevice_g;
extern std::atomic<void*> hThreadLaunchWebBrowser_g;
// The thread objects of the latest worker and browser thread (they delete themselves;
// kept for inspection only, never dereferenced).
extern std::atomic<class NamedThread*> threadFindAndConfigureQelDevice_gp;
extern std::atomic<class NamedThread*> threadLaunchWebBrowser_gp;
// A status monitor that a plainly stopped search left watching its instance: the handle
// of its thread, owned here until the next search has waited for its report.
extern std::atomic<void*> hLingeringStatusThread_g;

// The searches begun so far. Written and read by the dialog's thread only: a start request
// handled inside a box's loop may find that its search has ended there and another begun.
extern unsigned searchesBegun_g;
// The instance whose backend the running search started last; -1 before its first start.
// Dialog thread only: the end of the search judges that instance.
extern int lastStartedInstance_g;

// The platform the search's threads wait on; the requests below wake them through it.
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
