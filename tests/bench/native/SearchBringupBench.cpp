// Bring-up time of ten instances whose backends report the moment they are started, with
// the real half-second waits, against the floor the protocol allows: the worker can see a
// finished monitor only at the end of one of its waits, so every instance costs at least
// one wait (TimeDelay(250, 2), 500 ms). Prints numbers; it is not a test.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/SharedGlobals.h"
#include "common/ProgramControl.h"
#include "supervision/ProgramControlEvents.h"
#include "supervision/Search.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Message {
    unsigned code;
    long argument;
};

class Queue {
public:
    void Post(unsigned code, long argument) {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({code, argument});
        ready_.notify_one();
    }
    Message Pop() {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [&] { return !messages_.empty(); });
        Message m = messages_.front();
        messages_.pop_front();
        return m;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Message> messages_;
};

// Real sleeps, real threads, in-memory pipes.
class RealTimePlatform : public SearchPlatform {
public:
    struct Pipe {
        std::mutex mutex;
        std::vector<unsigned char> bytes;
        char writeTag = 0;
    };
    explicit RealTimePlatform(Queue& queue) : queue_(queue) {}
    ~RealTimePlatform() override {
        for (auto& t : threads_)
            if (t->joinable()) t->join();
    }
    bool CreateStatusPipe() override {
        std::lock_guard<std::mutex> lock(pipesMutex_);
        pipes_.push_back(std::make_unique<Pipe>());
        hWriteEndPoint_g = &pipes_.back()->writeTag;
        hReadEndPoint_g = pipes_.back().get();
        return true;
    }
    void CloseStatusPipe(void*, void*) override {}
    void Write(void* writeEnd, const std::vector<unsigned char>& record) {
        std::lock_guard<std::mutex> lock(pipesMutex_);
        for (auto& pipe : pipes_)
            if (&pipe->writeTag == writeEnd) {
                std::lock_guard<std::mutex> lock(pipe->mutex);
                pipe->bytes = record;
            }
    }
    void* StartMonitorThread(STATUSTHREADINFOSTRUCT* record) override {
        threads_.push_back(std::make_unique<std::thread>([record] { CheckQelDeviceStatusThread(record); }));
        return threads_.back().get();
    }
    bool ThreadHasEnded(void*) override { return false; }
    void WaitForThreadEnd(void* thread) override {
        auto* t = static_cast<std::thread*>(thread);
        if (t->joinable()) t->join();
    }
    void CloseThreadHandle(void*) override {}
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
        pipe->bytes.clear();
        return n;
    }
    bool GetProcessExitCode(void*, unsigned long& exitCode) override {
        exitCode = stillActiveExitCode;
        return true;
    }
    void PostProgramControl(void*, unsigned code, long argument) override { queue_.Post(code, argument); }
    void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

private:
    Queue& queue_;
    std::mutex pipesMutex_;
    std::vector<std::unique_ptr<Pipe>> pipes_;
    std::vector<std::unique_ptr<std::thread>> threads_;  // the worker's only
};

// A dialog whose backends report status 0 the moment they are started.
class InstantDialog : public ProgramControlHost {
public:
    InstantDialog() {
        for (int r = 0; r < 10; ++r) table.AddRow({std::to_wstring(r + 1), L"No"});
    }
    ~InstantDialog() override { WaitForWorkerEnd(); }
    std::wstring& HintText() override { return hint; }
    const bool* MouseOverArea() override { return hover; }
    bool& SearchLedBlink() override { return blink; }
    bool& InstanceLedBlink(int i) override { return instanceBlink[i]; }
    int& CurrentInstance() override { return current; }
    bool CtrlKeyDown() override { return false; }
    ListTable& InstanceList() override { return table; }
    void SetInstanceLedColor(int, int) override {}
    void SetSearchLedColor(int) override {}
    void InvalidateHintLine() override {}
    void FocusInstanceRow(int) override {}
    void EnableCloseAdapterButton(bool) override {}
    void ShowErrorBox(const std::wstring&, const std::wstring&) override { ++boxes; }
    void PostProgramControl(unsigned code, long argument) override { queue.Post(code, argument); }
    void SendCloseCommand() override {}
    int StartTsnProcess() override {
        const std::vector<unsigned char> record(8, 0);  // status 0, no text
        platform.Write(hWriteEndPoint_g.load(), record);
        started[current] = Clock::now();
        ++current;
        return 1;
    }
    void* BackendProcess(int) override { return &process; }
    void TerminateBackend(int) override {}
    std::wstring ReadLogFile() override { return {}; }
    void CloseAllOpenProcesses() override {}
    void FindAndCloseRunningProcesses() override {}
    void StartFindQelDevThread() override {
        BeginSearchFlags();
        auto* record = new THREADINFOSTRUCT;
        record->stopFlag = &stopFindQelDevThread_g;
        record->firstInstance = current;
        record->rowCount = table.RowCount();
        record->platform = &platform;
        worker = std::thread([record] { FindAndConfigureQelDevicesThread(record); });
    }
    void WaitForWorkerEnd() override {
        if (worker.joinable()) worker.join();
    }
    void WaitForThreadEndAndClose(void* thread) override { platform.WaitForThreadEnd(thread); }
    void GetEthernetNetworkAdapters() override {}
    void ConfigureDialogWindow() override {}

    Queue queue;
    RealTimePlatform platform{queue};
    MemoryTable table{instanceColumnCount};
    std::wstring hint;
    bool hover[4] = {};
    bool blink = false;
    bool instanceBlink[10] = {};
    int current = 0;
    int boxes = 0;
    int process = 0;
    Clock::time_point started[10];
    std::thread worker;
};

}  // namespace

int main() {
    constexpr int runs = 3;
    const double floorSeconds = 10 * blinkStepsPerWait * blinkStepMilliseconds / 1000.0;
    std::printf("ten instances, backends reporting at once; floor %.2f s (one %d ms wait each)\n", floorSeconds,
                blinkStepsPerWait * blinkStepMilliseconds);
    for (int run = 1; run <= runs; ++run) {
        InstantDialog dialog;
        const Clock::time_point begin = Clock::now();
        HandleFindAndConfigureButton(dialog);
        Clock::time_point end;
        for (;;) {
            const Message m = dialog.queue.Pop();
            HandleProgramControl(dialog, m.code, m.argument);
            if (m.code == pcSearchLed && m.argument == pcSearchEnded) {
                end = Clock::now();
                break;
            }
        }
        const double total = std::chrono::duration<double>(end - begin).count();
        std::printf("run %d: %d started, %.2f s in all, %.2f s per instance, %.2fx the floor; gaps:", run,
                    dialog.current, total, total / 10, total / floorSeconds);
        for (int i = 1; i < 10; ++i)
            std::printf(" %.2f", std::chrono::duration<double>(dialog.started[i] - dialog.started[i - 1]).count());
        std::printf("\n");
    }
    return 0;
}
