// The argument records of the program's worker threads, the small platform interface
// through which the worker and the status monitor reach pipes, processes, threads, the
// clock and the dialog, and the blink-step delay that both records share.
#pragma once

#include <atomic>
#include <string>

// What the worker and the status monitor need from the outside world. The Windows layer
// implements it over real handles; tests replace it with fakes. Handles are opaque.
class SearchPlatform {
public:
    virtual ~SearchPlatform() = default;

    // Creates the status pipe: an inheritable write end in hWriteEndPoint_g and a
    // non-inheritable read end in hReadEndPoint_g. False when no pipe could be made.
    virtual bool CreateStatusPipe() = 0;
    // Closes both ends of the status pipe; the caller nulls the globals afterwards.
    virtual void CloseStatusPipe(void* readEnd, void* writeEnd) = 0;

    // Starts the status monitor on its record (CheckQelDeviceStatusThread) and returns a
    // handle to its thread that the caller owns, or null (the record is then deleted).
    virtual void* StartMonitorThread(struct STATUSTHREADINFOSTRUCT* record) = 0;
    virtual bool ThreadHasEnded(void* thread) = 0;
    virtual void WaitForThreadEnd(void* thread) = 0;
    virtual void CloseThreadHandle(void* thread) = 0;

    // Copies up to size bytes without removing them; returns the bytes available
    // (0 when none or when the pipe cannot be inspected).
    virtual unsigned PeekPipe(void* readEnd, unsigned char* buffer, unsigned size) = 0;
    // Reads what is there, at most size bytes; returns the bytes read.
    virtual unsigned ReadPipe(void* readEnd, unsigned char* buffer, unsigned size) = 0;
    // The exit code of a process (259 while it runs); false when it cannot be read.
    virtual bool GetProcessExitCode(void* process, unsigned long& exitCode) = 0;

    virtual void PostProgramControl(void* hWnd, unsigned code, long argument) = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// Exit code of a process or thread that is still running.
constexpr unsigned long stillActiveExitCode = 259;

// Argument record of the worker and of the browser thread; deleted by the thread itself.
struct THREADINFOSTRUCT {
    void* hWnd = nullptr;                       // the dialog that receives the posts
    std::atomic<bool>* stopFlag = nullptr;      // worker: &stopFindQelDevThread_g
    std::wstring commandLine;                   // browser thread: the browser command line
    void* thread = nullptr;                     // the thread's own object
    unsigned creationFlags = 0;                 // browser thread: process creation flags
    int firstInstance = 0;                      // worker: first instance to start
    int instance = 0;                           // browser thread: the instance
    int rowCount = 10;                          // worker: rows of the instance table
    SearchPlatform* platform = nullptr;         // worker: how it reaches the world

    // Waits count times milliseconds, posting a search-LED blink step after each wait;
    // returns early when the stop flag is set.
    void TimeDelay(int milliseconds, int count);
};

// Argument record of the status monitor; deleted by the monitor itself.
struct STATUSTHREADINFOSTRUCT {
    void* hWnd = nullptr;
    std::atomic<bool>* stopFlag = nullptr;      // &stopCheckQelDevStatusThread_g
    int instance = 0;                           // the watched instance
    SearchPlatform* platform = nullptr;

    // As above; the blink step is that of the watched instance's LED.
    void TimeDelay(int milliseconds, int count);
};
