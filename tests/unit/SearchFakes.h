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

#include "app/SharedGlobals.h"
#include "common/ListTable.h"
#include "common/ProgramControl.h"
#include "supervision/ProgramControlEvents.h"
#include "supervision/Search.h"

struct PostedMessage {
    unsigned code;
    long argument;
};

// A thread-safe queue of posted program-control messages.
class MessageQueue {
public:
    void Post(unsigned code, long argument) {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back({code, argument});
        all_.push_back({code, argument});
        ready_.notify_one();
    }
    bool Pop(PostedMessage& message, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!ready_.wait_for(lock, timeout, [&] { return !queue_.empty(); })) return false;
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
    std::mutex mutex_;
    std::condition_variable ready_;
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

    explicit FakePlatform(MessageQueue& queue) : queue_(queue) {}
    ~FakePlatform() override { JoinAll(); }

    void JoinAll() {
        std::lock_guard<std::mutex> lock(threadsMutex_);
        for (auto& t : threads_) {
            std::lock_guard<std::mutex> join(t->joinMutex);
            if (t->thread.joinable()) t->thread.join();
        }
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
    // The backend's single write; ignored once the program closed its ends.
    void WriteRecord(void* writeEnd, const std::vector<unsigned char>& record) {
        std::lock_guard<std::mutex> lock(pipesMutex_);
        for (auto& pipe : pipes_) {
            if (&pipe->writeTag != writeEnd) continue;
            std::lock_guard<std::mutex> pipeLock(pipe->mutex);
            if (pipe->open) pipe->bytes.insert(pipe->bytes.end(), record.begin(), record.end());
        }
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
        raw->thread = std::thread([this, raw, record] {
            CheckQelDeviceStatusThread(record);
            --liveMonitors;
            raw->ended = true;
        });
        std::lock_guard<std::mutex> lock(threadsMutex_);
        threads_.push_back(std::move(thread));
        return raw;
    }
    bool ThreadHasEnded(void* thread) override { return static_cast<Thread*>(thread)->ended.load(); }
    void WaitForThreadEnd(void* thread) override {
        Thread* t = static_cast<Thread*>(thread);
        std::lock_guard<std::mutex> join(t->joinMutex);
        if (t->thread.joinable()) t->thread.join();
    }
    void CloseThreadHandle(void* thread) override {
        Thread* t = static_cast<Thread*>(thread);
        if (t->handleOpen) --openThreadHandles;
        t->handleOpen = false;
    }

    unsigned PeekPipe(void* readEnd, unsigned char* buffer, unsigned size) override {
        Pipe* pipe = static_cast<Pipe*>(readEnd);
        std::lock_guard<std::mutex> lock(pipe->mutex);
        const unsigned n = static_cast<unsigned>(pipe->bytes.size());
        std::copy_n(pipe->bytes.begin(), std::min(n, size), buffer);
        return n;
    }
    unsigned ReadPipe(void* readEnd, unsigned char* buffer, unsigned size) override {
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
        if (seen == 0) p->firstExitSeenAt = threadClock;
        if (seen == 1) p->secondExitSeenAt = threadClock;
        if (seen == 0 && p->onFirstExitObserved) p->onFirstExitObserved();
        return true;
    }
    void PostProgramControl(void*, unsigned code, long argument) override { queue_.Post(code, argument); }
    void Sleep(int milliseconds) override {
        now += milliseconds;
        threadClock += milliseconds;
        if (onSleep) onSleep();
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }

    std::atomic<long long> now{0};         // all sleeps of all threads
    static inline thread_local long long threadClock = 0;  // the sleeps of the calling thread
    std::atomic<int> pipesCreated{0};
    int failPipeNumber = -1;
    bool failMonitorStart = false;
    std::atomic<int> livePipes{0};
    std::atomic<int> liveMonitors{0};
    std::atomic<int> maxLiveMonitors{0};
    std::atomic<int> monitorsStarted{0};
    std::atomic<int> openThreadHandles{0};
    std::function<void()> onSleep;  // single-threaded tests only

private:
    MessageQueue& queue_;
    std::mutex pipesMutex_;
    std::vector<std::unique_ptr<Pipe>> pipes_;
    std::mutex threadsMutex_;
    std::list<std::unique_ptr<Thread>> threads_;
};

// What a scripted backend does once started.
struct Backend {
    enum Kind { report, silent, exitAtOnce, exitThenReport, held, creationFails } kind = report;
    int status = 0;
    std::string text = {};
};

std::vector<unsigned char> MakeRecord(int status, const std::string& text);

// The dialog, as far as the program-control handling sees it.
class FakeDialog : public ProgramControlHost {
public:
    explicit FakeDialog(int rows);
    ~FakeDialog() override;

    // Dispatches posted messages on this thread until the predicate holds (checked after
    // each message); false after 20 s of real time without it.
    bool RunUntil(const std::function<bool()>& done);
    // Dispatches until the search has ended and no message arrives for a moment.
    bool RunUntilIdle();
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
    void ShowErrorBox(const std::wstring& text, const std::wstring& caption) override {
        boxes.push_back({text, caption});
    }
    void PostProgramControl(unsigned code, long argument) override { queue.Post(code, argument); }
    void SendCloseCommand() override { closed = true; }
    int StartTsnProcess() override;
    void* BackendProcess(int i) override { return processes[i]; }
    void TerminateBackend(int i) override {
        terminated.push_back(i);
        processes[i] = nullptr;
    }
    std::wstring ReadLogFile() override { return L"last lines of the log"; }
    void CloseAllOpenProcesses() override;
    void FindAndCloseRunningProcesses() override { ++sweeps; }
    void StartFindQelDevThread() override;
    void WaitForWorkerEnd() override {
        if (worker_.joinable()) worker_.join();
    }
    void WaitForThreadEndAndClose(void* thread) override {
        platform.WaitForThreadEnd(thread);
        platform.CloseThreadHandle(thread);
    }
    void GetEthernetNetworkAdapters() override { startUpSteps.push_back(L"adapters"); }
    void ConfigureDialogWindow() override { startUpSteps.push_back(L"layout"); }

    struct Box {
        std::wstring text, caption;
    };

    MessageQueue queue;
    FakePlatform platform{queue};
    MemoryTable table{instanceColumnCount};
    std::map<int, std::vector<Backend>> scripts;  // per instance, one entry per start
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
    std::vector<Box> boxes;
    std::vector<PostedMessage> handled;
    std::vector<int> terminated;
    std::vector<int> startedInstances;  // every successful start, in order
    std::vector<std::wstring> startUpSteps;
    void* processes[10] = {};

private:
    bool ctrl_ = false;
    std::thread worker_;
    std::list<FakePlatform::Process> backendProcesses_;
    std::map<int, int> starts_;
    std::map<int, void*> writeEnds_;
};

// Resets every shared flag and handle before and after a test.
