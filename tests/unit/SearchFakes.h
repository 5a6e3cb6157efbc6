// Fakes for the worker and status monitor: a platform with a virtual clock, in-memory
// pipes, fake processes and real threads; and a dialog that handles the program-control
// messages on the test's thread, with scripted backends.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "supervision/SearchState.h"
#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "supervision/ProgramControlEvents.h"
#include "supervision/Search.h"
#include "VirtualClock.h"

struct PostedMessage {
    unsigned code;
    long argument;
    long long at = 0;  // virtual time of the post
};

// The posted program-control messages, in order; a post wakes whoever waits for one.
class MessageQueue {
public:
    explicit MessageQueue(VirtualClock& clock) : clock_(clock) {}
    void Post(unsigned code, long argument) {
        const PostedMessage m{code, argument, clock_.Now()};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back(m);
            all_.push_back(m);
        }
        clock_.Changed();
    }
    bool Empty() {
        std::lock_guard<std::mutex> lock(mutex_);
        return queue_.empty();
    }
    // The next message if one waits, or one that arrives before the clock reaches deadline.
    bool Pop(PostedMessage& message, long long deadline) {
        if (!clock_.WaitUntil(deadline, [&] { return !Empty(); })) return false;
        std::lock_guard<std::mutex> lock(mutex_);
        message = queue_.front();
        queue_.pop_front();
        return true;
    }
    std::vector<PostedMessage> All() {
        std::lock_guard<std::mutex> lock(mutex_);
        return all_;
    }
    int Count(unsigned code, long argument) {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count_if(all_.begin(), all_.end(), [&](const PostedMessage& m) {
            return m.code == code && m.argument == argument;
        }));
    }

private:
    VirtualClock& clock_;
    std::mutex mutex_;
    std::deque<PostedMessage> queue_;
    std::vector<PostedMessage> all_;
};

class FakePlatform : public SearchPlatform {
public:
    struct Pipe {
        std::mutex mutex;
        std::vector<unsigned char> bytes;
        bool open = true;
        char writeTag = 0;
    };
    struct Process {
        std::atomic<unsigned long> exitCode{stillActiveExitCode};
        std::atomic<int> exitObservations{0};
        std::atomic<long long> firstExitSeenAt{-1}, secondExitSeenAt{-1};
        std::function<void()> onFirstExitObserved;  // set before the process is watched
    };
    struct Thread {
        std::thread thread;
        std::atomic<bool> ended{false};
        std::mutex joinMutex;
        bool handleOpen = true;
    };

    FakePlatform(MessageQueue& queue, VirtualClock& clock) : queue_(queue), clock_(clock) {}
    ~FakePlatform() override { JoinAll(); }

    void JoinAll() {
        std::lock_guard<std::mutex> lock(threadsMutex_);
        for (auto& t : threads_) Join(*t);
    }

    bool CreateStatusPipe() override {
        const int n = pipesCreated++;
        if (n == failPipeNumber) return false;
        auto pipe = std::make_unique<Pipe>();
        Pipe* raw = pipe.get();
        {
            std::lock_guard<std::mutex> lock(pipesMutex_);
            pipes_.push_back(std::move(pipe));
        }
        ++livePipes;
        hWriteEndPoint_g = &raw->writeTag;
        hReadEndPoint_g = raw;
        return true;
    }
    void CloseStatusPipe(void* readEnd, void*) override {
        if (!readEnd) return;
        Pipe* pipe = static_cast<Pipe*>(readEnd);
        std::lock_guard<std::mutex> lock(pipe->mutex);
        if (pipe->open) --livePipes;
        pipe->open = false;
    }
    // The backend's write; ignored once the program closed its ends.
    void WriteRecord(void* writeEnd, const std::vector<unsigned char>& record) {
        {
            std::lock_guard<std::mutex> lock(pipesMutex_);
            for (auto& pipe : pipes_) {
                if (&pipe->writeTag != writeEnd) continue;
                std::lock_guard<std::mutex> pipeLock(pipe->mutex);
                if (pipe->open) pipe->bytes.insert(pipe->bytes.end(), record.begin(), record.end());
            }
        }
        clock_.Changed();
    }
    // The backend ends (by itself or from outside) with this exit code.
    void EndProcess(Process& process, unsigned long exitCode) {
        process.exitCode = exitCode;
        clock_.Changed();
    }

    void* StartMonitorThread(STATUSTHREADINFOSTRUCT* record) override {
        if (failMonitorStart) {
            delete record;
            return nullptr;
        }
        auto thread = std::make_unique<Thread>();
        Thread* raw = thread.get();
        const int live = ++liveMonitors;
        int seen = maxLiveMonitors.load();
        while (live > seen && !maxLiveMonitors.compare_exchange_weak(seen, live)) {
        }
        ++monitorsStarted;
        ++openThreadHandles;
        clock_.Join();
        raw->thread = std::thread([this, raw, record] {
            CheckQelDeviceStatusThread(record);
            clock_.Leave([&] {
                --liveMonitors;
                raw->ended = true;
            });
        });
        std::lock_guard<std::mutex> lock(threadsMutex_);
        threads_.push_back(std::move(thread));
        return raw;
    }
    bool ThreadHasEnded(void* thread) override { return static_cast<Thread*>(thread)->ended.load(); }
    void WaitForThreadEnd(void* thread) override { Join(*static_cast<Thread*>(thread)); }
    void CloseThreadHandle(void* thread) override {
        Thread* t = static_cast<Thread*>(thread);
        if (t->handleOpen) --openThreadHandles;
        t->handleOpen = false;
    }

    unsigned ReadArrived(void* readEnd, unsigned char* buffer, unsigned size) override {
        Pipe* pipe = static_cast<Pipe*>(readEnd);
        std::lock_guard<std::mutex> lock(pipe->mutex);
        const unsigned n = std::min(static_cast<unsigned>(pipe->bytes.size()), size);
        std::copy_n(pipe->bytes.begin(), n, buffer);
        pipe->bytes.erase(pipe->bytes.begin(), pipe->bytes.begin() + n);
        return n;
    }
    bool GetProcessExitCode(void* process, unsigned long& exitCode) override {
        Process* p = static_cast<Process*>(process);
        exitCode = p->exitCode.load();
        if (exitCode == stillActiveExitCode) return true;
        const int seen = p->exitObservations++;
        if (seen == 0) p->firstExitSeenAt = clock_.Now();
        if (seen == 1) p->secondExitSeenAt = clock_.Now();
        if (seen == 0 && p->onFirstExitObserved) p->onFirstExitObserved();
        return true;
    }
    void PostProgramControl(void*, unsigned code, long argument) override { queue_.Post(code, argument); }

    long long Now() override { return clock_.Now(); }
    void Wait(const SearchEvents& events, long long milliseconds) override {
        ++waits;
        if (milliseconds < 0) ADD_FAILURE() << "a wait into the past";
        std::atomic<bool>& woken = events.waiter == SearchWaiter::worker ? workerWoken_ : monitorWoken_;
        clock_.WaitUntil(clock_.Now() + std::max(0LL, milliseconds), [&] {
            if (woken.load()) return true;
            if (events.thread && static_cast<Thread*>(events.thread)->ended.load()) return true;
            if (events.process && static_cast<Process*>(events.process)->exitCode.load() != stillActiveExitCode)
                return true;
            if (!events.pipe) return false;
            Pipe* pipe = static_cast<Pipe*>(events.pipe);
            std::lock_guard<std::mutex> lock(pipe->mutex);
            return !pipe->bytes.empty();
        });
        woken = false;
    }
    void Wake() override {
        workerWoken_ = true;
        monitorWoken_ = true;
        clock_.Changed();
    }

    std::atomic<int> pipesCreated{0};
    int failPipeNumber = -1;
    bool failMonitorStart = false;
    std::atomic<int> livePipes{0};
    std::atomic<int> liveMonitors{0};
    std::atomic<int> maxLiveMonitors{0};
    std::atomic<int> monitorsStarted{0};
    std::atomic<int> openThreadHandles{0};
    std::atomic<int> waits{0};

private:
    void Join(Thread& t) {
        clock_.WaitUntil(VirtualClock::never, [&] { return t.ended.load(); });
        std::lock_guard<std::mutex> join(t.joinMutex);
        if (t.thread.joinable()) t.thread.join();
    }

    MessageQueue& queue_;
    VirtualClock& clock_;
    std::atomic<bool> workerWoken_{false};
    std::atomic<bool> monitorWoken_{false};
    std::mutex pipesMutex_;
    std::vector<std::unique_ptr<Pipe>> pipes_;
    std::mutex threadsMutex_;
    std::list<std::unique_ptr<Thread>> threads_;
};

// What a scripted backend does once started.
struct Backend {
    enum Kind {
        report,         // writes its record at once
        silent,         // writes nothing and keeps running
        exitAtOnce,     // ends at once without a record
        exitThenReport, // ends, and its record arrives after the first look at its exit
        held,           // writes nothing until the test releases it
        creationFails,  // the process cannot be created
        refused,        // a check refuses the start with a box that stays open for boxOpenFor
        reportThenExit, // reports a good start and ends at once, before the dialog has heard of it
    } kind = report;
    int status = 0;
    std::string text = {};
    bool altHeld = false;  // started with Alt held: no log file of its own
};

std::vector<unsigned char> MakeRecord(int status, const std::string& text);

// The dialog, as far as the program-control handling sees it. Its thread is the test's:
// it handles posted messages only while the test runs it, and while one of its boxes is
// open (a box's modal loop handles posted messages too).
class FakeDialog : public ProgramControlHost {
public:
    explicit FakeDialog(int rows);
    ~FakeDialog() override;

    // Handles posted messages until the predicate holds (checked after each message);
    // false when it does not hold within `limit` milliseconds of virtual time.
    bool RunUntil(const std::function<bool()>& done, long long limit = 600000);
    // Handles messages until the search has ended and nothing is left to handle before the
    // clock moves on.
    bool RunUntilIdle();
    // Handles what is posted before the clock moves on.
    void Drain();
    // The held backend of instance i writes its record now.
    void Release(int i, int status, const std::string& text = {});
    // Messages this dialog has handled so far.
    int Handled(unsigned code, long argument) const {
        return static_cast<int>(std::count_if(handled.begin(), handled.end(), [&](const PostedMessage& m) {
            return m.code == code && m.argument == argument;
        }));
    }
    void ClickFindAndConfigure(bool ctrl) {
        ctrl_ = ctrl;
        HandleFindAndConfigureButton(*this);
    }

    std::wstring& HintText() override { return hint; }
    const bool* MouseOverArea() override { return hover; }
    bool& SearchLedBlink() override { return searchBlink; }
    bool& InstanceLedBlink(int i) override { return instanceBlink[i]; }
    int& CurrentInstance() override { return currentInstance; }
    bool CtrlKeyDown() override { return ctrl_; }
    ListTable& InstanceList() override { return table; }
    void SetInstanceLedColor(int i, int colour) override { instanceLed[i] = colour; }
    void SetSearchLedColor(int colour) override { searchLed = colour; }
    void InvalidateHintLine() override { ++hintRepaints; }
    void FocusInstanceRow(int row) override { focusedRow = row; }
    void EnableCloseAdapterButton(bool enable) override { closeAdapterEnabled = enable; }
    // Like a real box: modal, open for boxOpenFor milliseconds; its loop dispatches what is
    // posted meanwhile (with boxesRunModalLoop also what comes before the clock moves on),
    // which may open further boxes.
    void ShowErrorBox(const std::wstring& text, const std::wstring& caption) override;
    void PostProgramControl(unsigned code, long argument) override { queue.Post(code, argument); }
    // As the dialog's system close does: every backend closed, then the dialog ends.
    void SendCloseCommand() override {
        CloseEveryBackend(*this);
        closed = true;
    }
    int StartBackend(int instance) override;
    std::wstring ProcessCreationReason() override { return creationReason; }
    void* BackendProcess(int i) override { return processes[i]; }
    // The system ends the process at once; the failure handling's termination (exit code
    // 0xFFFFFFFF) is recorded.
    void TerminateBackendProcess(int i, unsigned long exitCode) override {
        if (exitCode == 0xFFFFFFFFul) terminated.push_back(i);
        EndProcess(i, exitCode);
    }
    void WaitForBackendsToEnd(const std::vector<int>&, unsigned long) override {}
    void ForgetBackendProcess(int i) override { processes[i] = nullptr; }
    std::wstring ReadLogFile() override { return L"last lines of the log"; }
    void CloseAllOpenProcesses() override;
    void FindAndCloseRunningProcesses() override { ++sweeps; }
    void StartFindQelDevThread() override { StartSearch(currentInstance, maxInstances); }
    void StartOneInstanceSearch(int instance) override { StartSearch(instance, instance + 1); }
    void WaitForWorkerEnd() override;
    void WaitForThreadEndAndClose(void* thread) override {
        platform.WaitForThreadEnd(thread);
        platform.CloseThreadHandle(thread);
    }
    BackendWatch& Watch() override { return watch; }
    // The exit watcher: waits on the process recorded now; one already ended is seen at once.
    bool WaitForBackendExit(int i, std::wstring&) override {
        exitWaits[i] = processes[i];
        if (Process(i)->exitCode.load() != stillActiveExitCode) SeeExit(i);
        return true;
    }
    void StopWaitingForBackendExit(int i) override { exitWaits[i] = nullptr; }
    bool BackendHasEnded(int i, unsigned long& exitCode) override {
        if (!processes[i]) return false;
        exitCode = Process(i)->exitCode.load();
        return exitCode != stillActiveExitCode;
    }
    std::wstring ReadLogTail(const std::wstring& logFile) override {
        return logFile.empty() ? std::wstring() : L"tail of [" + logFile + L"]";
    }
    // Instance i's backend ends by itself or from outside; the exit watcher, if it waits
    // on it, posts its report.
    void EndProcess(int i, unsigned long exitCode) {
        if (!processes[i]) return;
        platform.EndProcess(*Process(i), exitCode);
        if (exitWaits[i] == processes[i]) SeeExit(i);
    }
    static std::wstring LogOf(int i) { return L"FS_QEL_Instance" + std::to_wstring(i) + L"\\log\\output.log"; }

    bool CanStartSearch() override { return true; }
    void GetEthernetNetworkAdapters() override { startUpSteps.push_back(L"adapters"); }
    void ConfigureDialogWindow() override { startUpSteps.push_back(L"layout"); }

    struct Box {
        std::wstring text, caption;
    };

    VirtualClock clock;
    MessageQueue queue{clock};
    FakePlatform platform{queue, clock};
    MemoryTable table{instanceColumnCount};
    std::map<int, std::vector<Backend>> scripts;  // per instance, one entry per start
    long long boxOpenFor = 0;                      // how long each box stays open (virtual ms)
    std::wstring creationReason;                   // why the last process could not be created
    std::wstring hint;
    bool hover[4] = {};
    bool searchBlink = false;
    bool instanceBlink[10] = {};
    int currentInstance = 0;
    int instanceLed[10] = {};
    int searchLed = -1;
    int hintRepaints = 0;
    int focusedRow = -1;
    bool closeAdapterEnabled = true;
    bool closed = false;
    int sweeps = 0;
    int searchesStarted = 0;
    int closeAllCalls = 0;
    int monitorsAliveAtCloseAll = 0;  // status monitors still running at the last close-all
    std::vector<Box> boxes;
    bool boxesRunModalLoop = false;
    int openBoxes = 0, mostOpenBoxes = 0;
    std::function<void()> whileBoxOpen;  // runs inside each box, after its loop
    // Runs as a start request is handled, before the start's checks: what the user did
    // just before (a click the dialog handled first).
    std::function<void(int)> beforeStart;
    BackendWatch watch;
    void* exitWaits[10] = {};  // the processes the exit watcher waits on
    std::vector<PostedMessage> handled;
    std::vector<int> terminated;
    std::vector<int> startedInstances;  // every successful start, in order
    std::vector<std::wstring> startUpSteps;
    void* processes[10] = {};
    std::list<FakePlatform::Process> backendProcesses;  // every backend ever started

private:
    void HandleNext(long long deadline);
    void StartSearch(int first, int end);
    FakePlatform::Process* Process(int i) { return static_cast<FakePlatform::Process*>(processes[i]); }
    void SeeExit(int i) {
        exitWaits[i] = nullptr;
        queue.Post(pcBackendExited, i);
    }

    bool ctrl_ = false;
    std::thread worker_;
    std::atomic<bool> workerEnded_{true};
    std::map<int, int> starts_;
    std::map<int, void*> writeEnds_;
};
