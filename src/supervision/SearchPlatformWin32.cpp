#include "supervision/SearchPlatformWin32.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "common/ProgramControl.h"
#include "supervision/Search.h"
#include "supervision/SearchState.h"
#include "supervision/StatusPipeWin32.h"
#include "win32/Handles.h"
#include "win32/Threads.h"

namespace {

class Win32Platform : public SearchPlatform {
public:
    Win32Platform()
        : workerWake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          monitorWake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    bool CreateStatusPipe() override {
        std::unique_ptr<StatusPipe> pipe = StatusPipe::Create();
        if (!pipe) return false;
        hWriteEndPoint_g = pipe->HandOutWriteEnd();
        hReadEndPoint_g = pipe->ReadEnd();
        std::lock_guard<std::mutex> lock(mutex_);
        pipes_[pipe->ReadEnd()] = std::move(pipe);
        return true;
    }
    void CloseStatusPipe(void* readEnd, void* writeEnd) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pipes_.erase(readEnd);
        }
        UniqueHandle closed(static_cast<HANDLE>(writeEnd));
    }
    unsigned ReadArrived(void* readEnd, unsigned char* buffer, unsigned size) override {
        StatusPipe* pipe = Find(readEnd);
        return pipe ? pipe->TakeArrived(buffer, size) : 0;
    }

    void* StartMonitorThread(STATUSTHREADINFOSTRUCT* record) override {
        UniqueHandle thread = StartNamedThread(L"status monitor", CheckQelDeviceStatusThread, record);
        if (!thread) delete record;
        return thread.release();
    }
    bool ThreadHasEnded(void* thread) override { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
    void WaitForThreadEnd(void* thread) override { WaitForSingleObject(thread, INFINITE); }
    void CloseThreadHandle(void* thread) override { UniqueHandle closed(static_cast<HANDLE>(thread)); }

    bool GetProcessExitCode(void* process, unsigned long& exitCode) override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process, &code)) return false;
        exitCode = code;
        return true;
    }
    void PostProgramControl(void* hWnd, unsigned code, long argument) override {
        PostMessageW(static_cast<HWND>(hWnd), programControlMessage, code, argument);
    }

    long long Now() override { return static_cast<long long>(GetTickCount64()); }
    void Wait(const SearchEvents& events, long long milliseconds) override {
        HANDLE handles[4];
        DWORD count = 0;
        // First: when several are signalled, only the first one's state is taken, and
        // the wake-up is the one to use up.
        handles[count++] = (events.waiter == SearchWaiter::worker ? workerWake_ : monitorWake_).get();
        if (events.thread) handles[count++] = events.thread;
        if (events.pipe)
            if (StatusPipe* pipe = Find(events.pipe))
                if (HANDLE arrival = pipe->ArrivalEvent()) handles[count++] = arrival;
        if (events.process) handles[count++] = events.process;
        const DWORD timeout = static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds > 60000 ? 60000 : milliseconds);
        WaitForMultipleObjects(count, handles, FALSE, timeout);
    }
    void Wake() override {
        SetEvent(workerWake_.get());
        SetEvent(monitorWake_.get());
    }

private:
    StatusPipe* Find(void* readEnd) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = pipes_.find(readEnd);
        return it == pipes_.end() ? nullptr : it->second.get();
    }

    UniqueHandle workerWake_;
    UniqueHandle monitorWake_;
    std::mutex mutex_;
    std::map<void*, std::unique_ptr<StatusPipe>> pipes_;
};

}  // namespace

SearchPlatform& Win32SearchPlatform() {
    static Win32Platform platform;
    return platform;
}
