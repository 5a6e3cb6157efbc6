#include "supervision/BackendExitWatcherWin32.h"

#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "win32/Threads.h"

bool BackendExitWatcher::Watch(HWND dialog, int instance, HANDLE process) {
    if (instance < 0 || instance >= maxInstances || !process) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!thread_ && !StartThread(dialog)) return false;
    UniqueHandle duplicate;
    if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), duplicate.put(), SYNCHRONIZE, FALSE, 0))
        return false;
    Request({instance, std::move(duplicate)});
    return true;
}

void BackendExitWatcher::Unwatch(int instance) {
    if (thread_ && instance >= 0 && instance < maxInstances) Request({instance, UniqueHandle()});
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
    changes_.clear();  // with the handles of changes the thread never took
    wake_.reset();
}

bool BackendExitWatcher::StartThread(HWND dialog) {
    wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!wake_) return false;
    dialog_ = dialog;
    stopRequested_ = false;
    thread_ = StartNamedThread(L"backend exit watcher", Run, this);
    if (!thread_) wake_.reset();
    return static_cast<bool>(thread_);
}

void BackendExitWatcher::Request(Change change) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        changes_.push_back(std::move(change));
    }
    SetEvent(wake_.get());
}

bool BackendExitWatcher::TakeChanges(UniqueHandle waiting[]) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Change& change : changes_) waiting[change.instance] = std::move(change.process);
    changes_.clear();
    return !stopRequested_;
}

unsigned BackendExitWatcher::Run(void* argument) {
    BackendExitWatcher& self = *static_cast<BackendExitWatcher*>(argument);
    UniqueHandle waiting[maxInstances];
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
            set[count++] = waiting[i].get();
        }
        const DWORD result = WaitForMultipleObjects(count, set, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            if (!self.TakeChanges(waiting)) break;
        } else if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            const int i = instanceOf[result - WAIT_OBJECT_0];
            waiting[i].reset();
            PostMessageW(self.dialog_, programControlMessage, pcBackendExited, i);
        } else if (count == 1) {
            break;  // even the event cannot be waited on: nothing left to do
        } else {
            // Not expected with handles of its own; rather than spin, let go of them.
            for (UniqueHandle& process : waiting) process.reset();
        }
    }
    return 0;
}
