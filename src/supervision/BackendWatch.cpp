#include "supervision/BackendWatch.h"

#include "supervision/ProgramControlHost.h"

namespace {

bool IsInstance(int i) { return i >= 0 && i < maxInstances; }

// Shows the queued boxes one after another. Called again from inside an open box's loop,
// it returns at once: the outer call shows what was queued meanwhile.
void ShowQueuedBoxes(ProgramControlHost& host) {
    BackendWatch& watch = host.Watch();
    if (watch.boxOpen) return;
    watch.boxOpen = true;
    while (!watch.queuedBoxes.empty()) {
        const std::wstring text = watch.queuedBoxes.front();
        watch.queuedBoxes.pop_front();
        host.ShowErrorBox(text, unexpectedExitCaption);
    }
    watch.boxOpen = false;
}

}  // namespace

void WatchBackend(ProgramControlHost& host, int instance) {
    if (!IsInstance(instance) || !host.BackendProcess(instance)) return;
    std::wstring reason;
    if (!host.WaitForBackendExit(instance, reason)) {
        // Its end would go unnoticed, the LED green over a dead device: say so instead of
        // claiming a watch.
        host.ShowErrorBox(UnwatchedBackendBoxText(instance + 1, reason), unwatchedBackendCaption);
        return;
    }
    host.Watch().watched[instance] = true;
}

void StopWatchingBackend(ProgramControlHost& host, int instance) {
    if (!IsInstance(instance)) return;
    bool& watched = host.Watch().watched[instance];
    if (!watched) return;
    watched = false;
    host.StopWaitingForBackendExit(instance);
}

void ReportBackendExit(ProgramControlHost& host, int instance) {
    if (!IsInstance(instance) || !host.Watch().watched[instance]) return;
    unsigned long exitCode = 0;
    if (!host.BackendHasEnded(instance, exitCode)) return;
    StopWatchingBackend(host, instance);
    // The process record stays until close-all gives it up, so currentInstance keeps its
    // meaning: a plain search goes on after this instance, close-all brings it back.
    host.InstanceList().SetCell(instance, colActive, L"No");
    host.SetInstanceLedColor(instance, ledRed);
    BackendWatch& watch = host.Watch();
    watch.queuedBoxes.push_back(UnexpectedExitBoxText(instance + 1, exitCode) +
                                host.ReadLogTail(watch.logFile[instance]));
    ShowQueuedBoxes(host);
}

size_t ExitBoxTailStart(std::string_view tail, bool cutFromLongerFile) {
    if (!cutFromLongerFile) return 0;
    const size_t lineBreak = tail.find('\n');
    // Without a line after the break there would be nothing left to show.
    return lineBreak == std::string_view::npos || lineBreak + 1 == tail.size() ? 0 : lineBreak + 1;
}

std::wstring UnwatchedBackendBoxText(int instanceNumber, const std::wstring& reason) {
    return L"Process dravik.exe for QEL " + std::to_wstring(instanceNumber) +
           L" is up, but its end cannot be watched: should it end, its LED stays green.\n" + reason;
}

std::wstring UnexpectedExitBoxText(int instanceNumber, unsigned long exitCode) {
    return L"Process dravik.exe for QEL " + std::to_wstring(instanceNumber) + L" has exited (exit code " +
           std::to_wstring(exitCode & 0xFFFFFFFFul) + L")." + logTailSeparator;
}
