// File-scope state shared between the dialog and its worker threads. Flags and handles that
// one thread writes and another reads are atomics; each has one writer at a time.
// Handles are kept as void* (a HANDLE) so that the core can hold them without <windows.h>.
#pragma once

#include <atomic>
#include <string>

// --- search (worker and status monitor) ---
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

// --- instance table editing ---
extern int selectedListItem_g;

// --- layout ---
extern double dlgScaleFactor_g;
extern double dlgScaleFactorMax_g;
extern int globalWindowRedraw_g;
