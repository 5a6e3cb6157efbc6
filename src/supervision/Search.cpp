#include "supervision/Search.h"

#include <algorithm>
#include <string>

#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "supervision/SearchState.h"
#include "supervision/StartupJudge.h"
#include "supervision/StatusRecord.h"

namespace {

bool CloseRequested() { return closeAppAfterThreadExit_g.load() || closeRunningProcesses_g.load(); }

// Waits until a monitor's thread has ended (it has made its report) and closes its handle.
void CloseMonitor(SearchPlatform& platform, void* monitor) {
    platform.WaitForThreadEnd(monitor);
    platform.CloseThreadHandle(monitor);
}

// Asks a monitor to give up its watch, then closes it.
void StopMonitor(SearchPlatform& platform, void* monitor) {
    RequestMonitorStop();
    CloseMonitor(platform, monitor);
}

// The worker's waits: each ends when the monitor has ended or something the worker must
// act on happened, and the search LED blinks on its own schedule meanwhile.
class WorkerWaits {
public:
    explicit WorkerWaits(THREADINFOSTRUCT& record)
        : record_(record), platform_(*record.platform), blink_(platform_.Now()) {}

    // Until the thread has ended, a stop was requested, or (when asked) a start failed.
    void UntilEnded(void* thread, bool alsoOnFailedStart) {
        Until([&] { return platform_.ThreadHasEnded(thread) || (alsoOnFailedStart && processCreationError_g.load()); },
              thread);
    }
    // Until the dialog has recorded the backend it started (or could not start it), or a
    // stop was requested.
    void UntilBackendRecorded() {
        Until([] { return currentProcessStartup_g.load() != nullptr || processCreationError_g.load(); }, nullptr);
    }

private:
    template <class Done>
    void Until(Done done, void* thread) {
        while (!done() && !record_.stopFlag->load()) {
            const long long now = platform_.Now();
            if (blink_.TakeDue(now)) platform_.PostProgramControl(record_.hWnd, pcSearchLed, pcSearchLedBlink);
            if (record_.stopFlag->load()) break;
            SearchEvents events;
            events.waiter = SearchWaiter::worker;
            events.thread = thread;
            platform_.Wait(events, blink_.NextAt() - now);
        }
    }

    THREADINFOSTRUCT& record_;
    SearchPlatform& platform_;
    BlinkSchedule blink_;
};

// The pipe, the receive buffer, errorMessage_g and the failure flags exist once, so a new
// search first waits, blinking, until a monitor left by a plainly stopped search has made
// its report. Returns false when the search was stopped meanwhile (the monitor is then
// stopped too on a close request, else left watching).
bool WaitForLingeringMonitor(THREADINFOSTRUCT& record, WorkerWaits& waits) {
    SearchPlatform& platform = *record.platform;
    void* previous = hLingeringStatusThread_g.exchange(nullptr);
    if (!previous) return true;
    waits.UntilEnded(previous, false);
    if (platform.ThreadHasEnded(previous)) {
        CloseMonitor(platform, previous);
    } else if (CloseRequested()) {
        StopMonitor(platform, previous);
    } else {
        hLingeringStatusThread_g = previous;
        return false;
    }
    // Its outcome belonged to the stopped search and was reported by itself.
    processStartupFailure_g = false;
    qelDiscoveryFailure_g = false;
    return !record.stopFlag->load();
}

}  // namespace

THREADINFOSTRUCT* BeginSearch(SearchPlatform& platform, void* dialog, int firstInstance, int endInstance,
                              int rowCount) {
    BeginSearchFlags(platform);
    auto* record = new THREADINFOSTRUCT;
    record->hWnd = dialog;
    record->stopFlag = &stopFindQelDevThread_g;
    record->firstInstance = firstInstance;
    record->endInstance = endInstance;
    record->rowCount = rowCount;
    record->platform = &platform;
    return record;
}

unsigned FindAndConfigureQelDevicesThread(void* argument) {
    THREADINFOSTRUCT* record = static_cast<THREADINFOSTRUCT*>(argument);
    SearchPlatform& platform = *record->platform;
    std::atomic<bool>& stop = *record->stopFlag;
    WorkerWaits waits(*record);

    if (WaitForLingeringMonitor(*record, waits)) {
        stopCheckQelDevStatusThread_g = false;
        const int end = std::min({maxInstances, record->rowCount, record->endInstance});
        int i = record->firstInstance;
        while (i < end && !stop.load()) {
            if (!platform.CreateStatusPipe()) {
                platform.PostProgramControl(record->hWnd, pcPipeFailed, i);
                stop = true;
                break;
            }
            // The monitor watches only the backend of its own instance: until the dialog
            // has started it there is none.
            currentProcessStartup_g = nullptr;
            STATUSTHREADINFOSTRUCT* status = new STATUSTHREADINFOSTRUCT;
            status->hWnd = record->hWnd;
            status->stopFlag = &stopCheckQelDevStatusThread_g;
            status->instance = i;
            status->platform = &platform;
            void* monitor = platform.StartMonitorThread(status);
            if (!monitor) {
                // Without a monitor nobody would close the pipe: report like a failed pipe.
                platform.CloseStatusPipe(hReadEndPoint_g.load(), hWriteEndPoint_g.load());
                hWriteEndPoint_g = nullptr;
                hReadEndPoint_g = nullptr;
                platform.PostProgramControl(record->hWnd, pcPipeFailed, i);
                stop = true;
                break;
            }

            processCreationError_g = false;
            platform.PostProgramControl(record->hWnd, pcInstanceBase + i, pcStartRequest);
            ++i;

            waits.UntilEnded(monitor, true);

            if (processCreationError_g.load() || processStartupFailure_g.load() || qelDiscoveryFailure_g.load()) {
                StopMonitor(platform, monitor);
                break;
            }
            if (stop.load()) {
                if (CloseRequested())
                    StopMonitor(platform, monitor);
                else if (platform.ThreadHasEnded(monitor))
                    CloseMonitor(platform, monitor);
                else
                    hLingeringStatusThread_g = monitor;  // a plain stop: it reports by itself
                break;
            }
            // Started: the monitor has reported and ended. The dialog records the backend
            // it started after the monitor may have judged its record; the next monitor is
            // begun only once it has, so that it never takes this backend for its own.
            CloseMonitor(platform, monitor);
            waits.UntilBackendRecorded();
            if (processCreationError_g.load()) break;
        }
    }

    if (!processCreationError_g.load()) platform.PostProgramControl(record->hWnd, pcSearchLed, pcSearchEnded);
    delete record;
    return 0;
}

unsigned CheckQelDeviceStatusThread(void* argument) {
    STATUSTHREADINFOSTRUCT* record = static_cast<STATUSTHREADINFOSTRUCT*>(argument);
    SearchPlatform& platform = *record->platform;
    std::atomic<bool>& stop = *record->stopFlag;
    void* const readEnd = hReadEndPoint_g.load();
    void* const writeEnd = hWriteEndPoint_g.load();

    errorMessage_g.clear();
    bool startupFailure = false;
    bool discoveryFailure = false;
    std::wstring message;

    if (!stop.load()) {
        StartupJudge judge;
        BlinkSchedule blink(platform.Now());
        unsigned received = 0;  // bytes of the record so far: it may come in pieces
        for (;;) {
            received += platform.ReadArrived(readEnd, recvBuffer_g + received,
                                             static_cast<unsigned>(sizeof recvBuffer_g) - received);
            void* process = currentProcessStartup_g.load();
            unsigned long exitCode = stillActiveExitCode;
            const bool ended = process && !judge.ExitSeen() && platform.GetProcessExitCode(process, exitCode) &&
                               exitCode != stillActiveExitCode;
            const long long now = platform.Now();
            const StartupOutcome outcome =
                judge.Look(now, process != nullptr, ended, received, IsStatusRecordFinished(recvBuffer_g, received));
            if (outcome == StartupOutcome::judgeRecord) {
                const StatusReport report = DecodeStatusRecord(recvBuffer_g, received);
                startupFailure = report.verdict == StatusVerdict::startupFailure;
                discoveryFailure = report.verdict == StatusVerdict::discoveryFailure;
                message = report.text;
                break;
            }
            if (outcome != StartupOutcome::pending) {
                startupFailure = true;
                message = outcome == StartupOutcome::unexpectedExit ? L"Unexpected process exit" : L"Startup timeout exceeded";
                break;
            }
            if (blink.TakeDue(now))
                platform.PostProgramControl(record->hWnd, pcSearchLed, pcInstanceLedBlinkBase + record->instance);
            if (stop.load()) break;

            SearchEvents events;
            events.waiter = SearchWaiter::monitor;
            events.pipe = readEnd;
            // An ended process stays signalled: once its exit was seen, only the time counts.
            if (!judge.ExitSeen()) events.process = process;
            platform.Wait(events, std::min(blink.NextAt(), judge.NextDeadline()) - now);
        }
    }

    // Publish the outcome before the read end is released: whoever sees it null may read
    // the failure flags and errorMessage_g.
    errorMessage_g = message;
    if (discoveryFailure) qelDiscoveryFailure_g = true;
    if (startupFailure) processStartupFailure_g = true;
    const bool started = !stop.load() && !startupFailure && !discoveryFailure;
    platform.PostProgramControl(record->hWnd, pcInstanceBase + record->instance,
                                started ? pcInstanceStarted : pcInstanceFailed);
    platform.CloseStatusPipe(readEnd, writeEnd);
    hWriteEndPoint_g = nullptr;
    hReadEndPoint_g = nullptr;
    delete record;
    return 0;
}
