#include "supervision/SearchState.h"

#include <initializer_list>

#include "supervision/ThreadRecords.h"

std::atomic<bool> findQelDevThreadRunning_g{false};
std::atomic<bool> stopFindQelDevThread_g{false};
std::atomic<bool> stopCheckQelDevStatusThread_g{false};
std::atomic<bool> closeAppAfterThreadExit_g{false};
std::atomic<bool> closeRunningProcesses_g{false};
std::atomic<bool> processStartupFailure_g{false};
std::atomic<bool> qelDiscoveryFailure_g{false};
std::atomic<bool> processCreationError_g{false};
std::wstring errorMessage_g;
unsigned char recvBuffer_g[1024];

std::atomic<void*> hReadEndPoint_g{nullptr};
std::atomic<void*> hWriteEndPoint_g{nullptr};
std::atomic<void*> currentProcessStartup_g{nullptr};
std::wstring hLogFileName_g;

std::atomic<void*> hThreadFindAndConfigureQelDevice_g{nullptr};
std::atomic<void*> hThreadLaunchWebBrowser_g{nullptr};
std::atomic<NamedThread*> threadFindAndConfigureQelDevice_gp{nullptr};
std::atomic<NamedThread*> threadLaunchWebBrowser_gp{nullptr};
std::atomic<void*> hLingeringStatusThread_g{nullptr};
std::atomic<SearchPlatform*> searchPlatform_g{nullptr};
unsigned searchesBegun_g = 0;
int lastStartedInstance_g = -1;

void BeginSearchFlags(SearchPlatform& platform) {
    searchPlatform_g = &platform;
    ++searchesBegun_g;
    lastStartedInstance_g = -1;
    findQelDevThreadRunning_g = true;
    processStartupFailure_g = false;
    qelDiscoveryFailure_g = false;
    processCreationError_g = false;
    if (!hLingeringStatusThread_g.load()) currentProcessStartup_g = nullptr;
}

void WakeSearchThreads() {
    if (SearchPlatform* platform = searchPlatform_g.load()) platform->Wake();
}

void RequestSearchStop() {
    stopFindQelDevThread_g = true;
    WakeSearchThreads();
}

void RequestSearchStopAndCloseAll() {
    closeRunningProcesses_g = true;
    stopCheckQelDevStatusThread_g = true;
    RequestSearchStop();
}

void RequestSearchStopAndCloseApp() {
    closeAppAfterThreadExit_g = true;
    stopCheckQelDevStatusThread_g = true;
    RequestSearchStop();
}

void RequestMonitorStop() {
    stopCheckQelDevStatusThread_g = true;
    WakeSearchThreads();
}

void ReportBackendStarted(void* process) {
    currentProcessStartup_g = process;
    WakeSearchThreads();
}

void ReportStartFailed() {
    processCreationError_g = true;
    RequestMonitorStop();
}

void ResetSearchGlobals() {
    for (auto* flag : {&findQelDevThreadRunning_g, &stopFindQelDevThread_g, &stopCheckQelDevStatusThread_g,
                       &closeAppAfterThreadExit_g, &closeRunningProcesses_g, &processStartupFailure_g,
                       &qelDiscoveryFailure_g, &processCreationError_g})
        *flag = false;
    errorMessage_g.clear();
    hReadEndPoint_g = nullptr;
    hWriteEndPoint_g = nullptr;
    currentProcessStartup_g = nullptr;
    hLingeringStatusThread_g = nullptr;
    searchPlatform_g = nullptr;
}
