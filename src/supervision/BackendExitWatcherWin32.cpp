#include "supervision/BackendExitWatcherWin32.h"

#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "supervision/ThreadStartWin32.h"

bool BackendExitWatcher::Watch(HWND dialog, int instance, HANDLE process) {
    if (instance < 0 || instance >= maxInstances || !process) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!thread_ && !StartThread(dialog)) return false;
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &duplicate, SYNCHRONIZE, FALSE, 0))
        return false;
    Request({instance, duplicate});
    return true;
}

void BackendExitWatcher::Unwatch(int instance) {
    if (thread_ && instance >= 0 && instance < maxInstances) Request({instance, nullptr});
}

void BackendExitWatcher::Stop() {
    if (thread_) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopRequested_ = true;
        }
        SetEvent(wake_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    // Changes the thread never took.
    for (const Change& change : changes_)
        if (change.process) CloseHandle(change.process);
    changes_.clear();
    wake_.reset();
}

bool BackendExitWatcher::StartThread(HWND dialog) {
    wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!wake_) return false;
    dialog_ = dialog;
    stopRequested_ = false;
    SelfDeletingThread* thread = SelfDeletingThread::CreateSuspended(Run, this);
    HANDLE handle = thread ? thread->DuplicateThreadHandle() : nullptr;
    if (!handle) {
        if (thread) thread->Abandon();
        wake_.reset();
        return false;
    }
    thread_.reset(handle);
    thread->Resume();
    return true;
}

void BackendExitWatcher::Request(Change change) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        changes_.push_back(change);
    }
    SetEvent(wake_.get());
}

bool BackendExitWatcher::TakeChanges(HANDLE waiting[]) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Change& change : changes_) {
        if (waiting[change.instance]) CloseHandle(waiting[change.instance]);
        waiting[change.instance] = change.process;
    }
    changes_.clear();
    return !stopRequested_;
}

unsigned BackendExitWatcher::Run(void* argument) {
    BackendExitWatcher& self = *static_cast<BackendExitWatcher*>(argument);
    HANDLE waiting[maxInstances] = {};
    for (;;) {
        // The event comes first: when it and a process are signalled together, the
        // change (an Unwatch made before the program's own termination) is taken first.
        HANDLE set[1 + maxInstances];
        int instanceOf[1 + maxInstances] = {};
        DWORD count = 0;
        set[count++] = self.wake_.get();
        for (int i = 0; i < maxInstances; ++i) {
            if (!waiting[i]) continue;
            instanceOf[count] = i;
            set[count++] = waiting[i];
        }
        const DWORD result = WaitForMultipleObjects(count, set, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            if (!self.TakeChanges(waiting)) break;
        } else if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            const int i = instanceOf[result - WAIT_OBJECT_0];
            CloseHandle(waiting[i]);
            waiting[i] = nullptr;
            PostMessageW(self.dialog_, programControlMessage, pcBackendExited, i);
        } else if (count == 1) {
            break;  // even the event cannot be waited on: nothing left to do
        } else {
            // Not expected with handles of its own; rather than spin, let go of them.
            for (HANDLE& process : waiting) {
                if (process) CloseHandle(process);
                process = nullptr;
            }
        }
    }
    for (HANDLE process : waiting)
        if (process) CloseHandle(process);
    return 0;
}
