// A thread that waits on the processes of the backends that started well and posts the
// program-control code pcBackendExited with the instance index when one of them ends, then
// stops waiting on it. It waits on duplicates of its own (the dialog may close its handles at
// any time) plus an event through which it learns of changes; it never times out, never
// polls and touches nothing of the dialog but its message queue.
#pragma once

#include <windows.h>

#include <mutex>
#include <vector>

#include "win32/Handles.h"

class BackendExitWatcher {
public:
    BackendExitWatcher() = default;
    BackendExitWatcher(const BackendExitWatcher&) = delete;
    BackendExitWatcher& operator=(const BackendExitWatcher&) = delete;
    ~BackendExitWatcher() { Stop(); }

    // From now on waits on process for instance, in place of an earlier one, and posts to
    // dialog. The thread starts at the first call. False when it cannot watch; GetLastError
    // then tells why.
    bool Watch(HWND dialog, int instance, HANDLE process);
    // Stops waiting on the process of instance; seen by the thread before any process
    // that ends after this call.
    void Unwatch(int instance);
    // Ends the thread and closes every handle it held.
    void Stop();

private:
    struct Change {
        int instance;
        UniqueHandle process;  // a duplicate the thread takes over; empty: stop waiting
    };

    bool StartThread(HWND dialog);
    void Request(Change change);
    // The thread's side: applies the changes; false once it is to end.
    bool TakeChanges(UniqueHandle waiting[]);
    static unsigned Run(void* self);

    std::mutex mutex_;
    std::vector<Change> changes_;
    bool stopRequested_ = false;
    HWND dialog_ = nullptr;
    UniqueHandle wake_;    // auto-reset: set after each change
    UniqueHandle thread_;  // a duplicate of the thread's handle
};
