#include "supervision/Search.h"

#include <algorithm>
#include <string>

#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "supervision/SearchState.h"
#include "supervision/StatusRecord.h"

namespace {

bool CloseRequested() { return closeAppAfterThreadExit_g.load() || closeRunningProcesses_g.load(); }

// Asks a monitor to stop and waits until its thread has ended; closes its handle.
void StopMonitor(SearchPlatform& platform, void* monitor) {
    stopCheckQelDevStatusThread_g = true;
    platform.WaitForThreadEnd(monitor);
    platform.CloseThreadHandle(monitor);
}

// The pipe, the receive buffer, errorMessage_g and the failure flags exist once, so a new
// search first waits, blinking, until a monitor left by a plainly stopped search has made
// its report. Returns false when the search was stopped meanwhile (the monitor is then
// stopped too on a close request, else left watching).
bool WaitForLingeringMonitor(THREADINFOSTRUCT& record) {
    SearchPlatform& platform = *record.platform;
    void* previous = hLingeringStatusThread_g.exchange(nullptr);
    if (!previous) return true;
    while (!platform.ThreadHasEnded(previous) && !record.stopFlag->load()) record.TimeDelay(blinkStepMilliseconds, blinkStepsPerWait);
    bool ended = platform.ThreadHasEnded(previous);
    if (!ended && CloseRequested()) {
        StopMonitor(platform, previous);
        ended = true;
        previous = nullptr;
    }
    if (!ended) {
        hLingeringStatusThread_g = previous;
        return false;
    }
    if (previous) {
        platform.WaitForThreadEnd(previous);
        platform.CloseThreadHandle(previous);
    }
    // Its outcome belonged to the stopped search and was reported by itself.
    processStartupFailure_g = false;
    qelDiscoveryFailure_g = false;
    return !record.stopFlag->load();
}

}  // namespace

unsigned FindAndConfigureQelDevicesThread(void* argument) {
    THREADINFOSTRUCT* record = static_cast<THREADINFOSTRUCT*>(argument);
    SearchPlatform& platform = *record->platform;
    std::atomic<bool>& stop = *record->stopFlag;

    if (WaitForLingeringMonitor(*record)) {
        stopCheckQelDevStatusThread_g = false;
        const int end = std::min(maxInstances, record->rowCount);
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

            while (hReadEndPoint_g.load() != nullptr && !stop.load() && !processCreationError_g.load())
                record->TimeDelay(blinkStepMilliseconds, blinkStepsPerWait);

            if (processCreationError_g.load() || processStartupFailure_g.load() || qelDiscoveryFailure_g.load()) {
                StopMonitor(platform, monitor);
                break;
            }
            if (stop.load()) {
                if (CloseRequested()) {
                    StopMonitor(platform, monitor);
                } else if (hReadEndPoint_g.load() != nullptr) {
                    // A plain stop leaves the monitor watching; it reports by itself.
                    hLingeringStatusThread_g = monitor;
                } else {
                    platform.WaitForThreadEnd(monitor);
                    platform.CloseThreadHandle(monitor);
                }
                break;
            }
            // Started: the monitor has reported and is on its way out.
            platform.WaitForThreadEnd(monitor);
            platform.CloseThreadHandle(monitor);
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
        bool exitSeen = false;
        bool judged = false;
        int polls = 0;
        unsigned received = 0;  // bytes of the record so far: it may come in pieces
        int partialPolls = 0;
        auto judge = [&] {
            const StatusReport report = DecodeStatusRecord(recvBuffer_g, received);
            startupFailure = report.verdict == StatusVerdict::startupFailure;
            discoveryFailure = report.verdict == StatusVerdict::discoveryFailure;
            message = report.text;
            judged = true;
        };
        while (polls < statusMonitorMaxPolls) {
            const unsigned room = static_cast<unsigned>(sizeof recvBuffer_g) - received;
            const unsigned available = platform.PeekPipe(readEnd, recvBuffer_g + received, room);
            if (available > 0) received += platform.ReadPipe(readEnd, recvBuffer_g + received, std::min(available, room));
            if (received > 0 && (IsStatusRecordFinished(recvBuffer_g, received) || partialPolls >= statusRecordGracePolls)) {
                judge();
                break;
            }
            unsigned long exitCode = 0;
            void* process = currentProcessStartup_g.load();
            if (process && platform.GetProcessExitCode(process, exitCode) && exitCode != stillActiveExitCode) {
                if (exitSeen) {
                    if (received > 0) {
                        judge();  // the backend ended in the middle of its record
                    } else {
                        startupFailure = true;
                        message = L"Unexpected process exit";
                        judged = true;
                    }
                    break;
                }
                exitSeen = true;
            }
            record->TimeDelay(blinkStepMilliseconds, blinkStepsPerWait);
            ++polls;
            if (received > 0) ++partialPolls;
            if (stop.load()) break;
        }
        if (!judged && !stop.load() && polls >= statusMonitorMaxPolls) {
            if (received > 0) {
                judge();
            } else {
                startupFailure = true;
                message = L"Startup timeout exceeded";
            }
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
