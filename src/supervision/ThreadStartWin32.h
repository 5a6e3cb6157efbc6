// The common start of the program's threads: created suspended at normal priority with the
// default stack, its handle duplicated for whoever must observe its end, then resumed.
// The thread object closes its own handle and deletes itself when the function returns.
#pragma once

#include <windows.h>

#include <atomic>

#include "supervision/ThreadRecords.h"

using ThreadFunction = unsigned (*)(void*);

class SelfDeletingThread {
public:
    // Creates the thread suspended with the function and its record. On failure returns
    // null; the record is still the caller's.
    static SelfDeletingThread* CreateSuspended(ThreadFunction function, void* record);
    // A non-inheritable duplicate of the thread's handle with the same access, owned by the
    // caller; null on failure.
    HANDLE DuplicateThreadHandle() const;
    // Lets the thread run. From here on the record and this object belong to the thread.
    void Resume();
    // For a thread that must not run after all: resumed, it returns at once without
    // calling the function (the record stays the caller's).
    void Abandon();

private:
    SelfDeletingThread(ThreadFunction function, void* record) : function_(function), record_(record) {}
    static unsigned __stdcall Run(void* self);

    ThreadFunction function_;
    void* record_;
    HANDLE handle_ = nullptr;
};

// The thread objects of the latest worker and browser thread (they delete themselves;
// kept for inspection only, never dereferenced).
class NamedThread;
extern std::atomic<NamedThread*> threadFindAndConfigureQelDevice_gp;
extern std::atomic<NamedThread*> threadLaunchWebBrowser_gp;

// The browser thread: starts the browser of its record, waits up to a second, reports
// pcBrowserOpened and returns 0. The argument is a THREADINFOSTRUCT, deleted here.
unsigned LaunchWebBrowserThread(void* record);
