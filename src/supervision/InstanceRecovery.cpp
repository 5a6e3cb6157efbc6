#include "supervision/InstanceRecovery.h"

#include "common/ListTable.h"
#include "supervision/ProgramControlEvents.h"
#include "supervision/SearchState.h"

InstanceMenuState InstanceMenuFor(const InstanceFacts& facts) {
    InstanceMenuState state;
    state.restart = !facts.searchRunning && facts.startable;
    state.stop = !facts.searchRunning && facts.backendRunning;
    state.openWebPage = facts.active;
    state.openLogFile = facts.logExists;
    return state;
}

std::wstring RestartItemText(int instanceNumber) { return L"&Restart QEL " + std::to_wstring(instanceNumber); }
std::wstring StopItemText(int instanceNumber) { return L"&Stop QEL " + std::to_wstring(instanceNumber); }

bool BackendRunning(ProgramControlHost& host, int instance) {
    unsigned long exitCode = 0;
    return host.BackendProcess(instance) != nullptr && !host.BackendHasEnded(instance, exitCode);
}

void StopInstance(ProgramControlHost& host, int instance) {
    if (instance < 0 || instance >= maxInstances || findQelDevThreadRunning_g.load()) return;
    if (host.BackendProcess(instance)) {
        TerminateBackend(host, instance);  // stops watching it first: no exit box
        int& current = host.CurrentInstance();
        if (instance == current - 1) --current;  // the next search starts it again
    }
    ShowInstanceDown(host, instance);
}

void RestartInstance(ProgramControlHost& host, int instance) {
    if (instance < 0 || instance >= maxInstances || findQelDevThreadRunning_g.load()) return;
    if (instance > host.CurrentInstance()) return;
    if (host.BackendProcess(instance)) {
        TerminateBackend(host, instance);
        ShowInstanceDown(host, instance);
    }
    host.StartOneInstanceSearch(instance);
}

std::wstring NoLogFileBoxText(int instanceNumber, const std::wstring& path) {
    return L"QEL " + std::to_wstring(instanceNumber) + L" has no log file: \"" + path + L"\" does not exist.";
}
