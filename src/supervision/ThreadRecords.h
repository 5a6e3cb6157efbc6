// The argument records of the program's worker threads, the small platform interface
// through which the worker and the status monitor reach pipes, processes, threads, the
// clock and the dialog, and the blink schedule that both keep while they wait.
#pragma once

#include <atomic>
#include <climits>
#include <string>

// Who waits: a wake-up reaches each of the two once.
enum class SearchWaiter { worker, monitor };

// What a wait of a search thread ends on besides its time-out and a wake-up. Null members
// are not waited on.
struct SearchEvents {
    SearchWaiter waiter = SearchWaiter::worker;
    void* thread = nullptr;   // this thread has ended
    void* pipe = nullptr;     // data has arrived on this status pipe (its read end)
    void* process = nullptr;  // this process has ended
};

// What the worker and the status monitor need from the outside world. The Windows layer
// implements it over real handles; tests replace it with fakes. Handles are opaque.
class SearchPlatform {
public:
    virtual ~SearchPlatform() = default;

    // Creates the status pipe: an inheritable write end in hWriteEndPoint_g, which the
    // backend writes like any pipe, and a non-inheritable read end in hReadEndPoint_g.
    // False when no pipe could be made.
    virtual bool CreateStatusPipe() = 0;
    // Closes both ends of the status pipe; the caller nulls the globals afterwards.
    virtual void CloseStatusPipe(void* readEnd, void* writeEnd) = 0;
    // Moves what has arrived on the pipe into buffer, at most size bytes, without waiting;
    // returns the bytes moved. Only the status monitor calls it: a read it leaves under way
    // belongs to its thread, and Windows cancels a thread's pending I/O when the thread
    // ends (the worker, which makes the pipe, may end first).
    virtual unsigned ReadArrived(void* readEnd, unsigned char* buffer, unsigned size) = 0;

    // Starts the status monitor on its record (CheckQelDeviceStatusThread) and returns a
    // handle to its thread that the caller owns, or null (the record is then deleted).
    virtual void* StartMonitorThread(struct STATUSTHREADINFOSTRUCT* record) = 0;
    virtual bool ThreadHasEnded(void* thread) = 0;
    virtual void WaitForThreadEnd(void* thread) = 0;
    virtual void CloseThreadHandle(void* thread) = 0;

    // The exit code of a process (259 while it runs); false when it cannot be read.
    virtual bool GetProcessExitCode(void* process, unsigned long& exitCode) = 0;

    virtual void PostProgramControl(void* hWnd, unsigned code, long argument) = 0;

    // Milliseconds on a clock that only goes forward.
    virtual long long Now() = 0;
    // Returns once one of the events has happened, a wake-up for the waiter came, or the
    // time is up; at once when one of them already holds. Never spins: a wake-up is used
    // up by the wait it ends.
    virtual void Wait(const SearchEvents& events, long long milliseconds) = 0;
    // Ends the current or next wait of the worker and of the monitor.
    virtual void Wake() = 0;
};

// Exit code of a process or thread that is still running.
constexpr unsigned long stillActiveExitCode = 259;

constexpr long long blinkStepMilliseconds = 250;
constexpr long long noDeadline = LLONG_MAX;

// The blink steps of a waiting thread: one every 250 ms from its start, whatever ends its
// waits in between, so that the LED keeps its pace.
class BlinkSchedule {
public:
    explicit BlinkSchedule(long long start) : next_(start + blinkStepMilliseconds) {}
    // True when a step is due; the schedule then moves on by a step (from now, when it has
    // fallen behind: late steps are not made up in a burst).
    bool TakeDue(long long now);
    long long NextAt() const { return next_; }

private:
    long long next_;
};

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
    int endInstance = 10;                       // worker: one past the last to start
    SearchPlatform* platform = nullptr;         // worker: how it reaches the world
};

// Argument record of the status monitor; deleted by the monitor itself.
struct STATUSTHREADINFOSTRUCT {
    void* hWnd = nullptr;
    std::atomic<bool>* stopFlag = nullptr;      // &stopCheckQelDevStatusThread_g
    int instance = 0;                           // the watched instance
    SearchPlatform* platform = nullptr;
};
