#include "supervision/ThreadStartWin32.h"

#include <process.h>

#include "supervision/SearchState.h"
#include "common/ProgramControl.h"
#include "supervision/Search.h"

std::atomic<SelfDeletingThread*> threadFindAndConfigureQelDevice_gp{nullptr};
std::atomic<SelfDeletingThread*> threadLaunchWebBrowser_gp{nullptr};

SelfDeletingThread* SelfDeletingThread::CreateSuspended(ThreadFunction function, void* record) {
    auto* thread = new SelfDeletingThread(function, record);
    const uintptr_t handle = _beginthreadex(nullptr, 0, &SelfDeletingThread::Run, thread, CREATE_SUSPENDED, nullptr);
    if (handle == 0) {
        delete thread;
        return nullptr;
    }
    thread->handle_ = reinterpret_cast<HANDLE>(handle);
    SetThreadPriority(thread->handle_, THREAD_PRIORITY_NORMAL);
    return thread;
}

HANDLE SelfDeletingThread::DuplicateThreadHandle() const {
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle_, GetCurrentProcess(), &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return duplicate;
}

void SelfDeletingThread::Resume() { ResumeThread(handle_); }

void SelfDeletingThread::Abandon() {
    function_ = nullptr;
    ResumeThread(handle_);
}

unsigned __stdcall SelfDeletingThread::Run(void* argument) {
    auto* self = static_cast<SelfDeletingThread*>(argument);
    const unsigned result = self->function_ ? self->function_(self->record_) : 0;
    CloseHandle(self->handle_);
    delete self;
    return result;
}

namespace {

class Win32Platform : public SearchPlatform {
public:
    bool CreateStatusPipe() override {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1024)) return false;
        // The backend must inherit only the write end.
        HANDLE privateRead = nullptr;
        const BOOL duplicated =
            DuplicateHandle(GetCurrentProcess(), readEnd, GetCurrentProcess(), &privateRead, 0, FALSE, DUPLICATE_SAME_ACCESS);
        CloseHandle(readEnd);
        if (!duplicated) {
            CloseHandle(writeEnd);
            return false;
        }
        hWriteEndPoint_g = writeEnd;
        hReadEndPoint_g = privateRead;
        return true;
    }
    void CloseStatusPipe(void* readEnd, void* writeEnd) override {
        if (readEnd) CloseHandle(readEnd);
        if (writeEnd) CloseHandle(writeEnd);
    }
    void* StartMonitorThread(STATUSTHREADINFOSTRUCT* record) override {
        SelfDeletingThread* thread = SelfDeletingThread::CreateSuspended(CheckQelDeviceStatusThread, record);
        if (!thread) {
            delete record;
            return nullptr;
        }
        HANDLE handle = thread->DuplicateThreadHandle();
        if (!handle) {
            thread->Abandon();
            delete record;
            return nullptr;
        }
        thread->Resume();
        return handle;
    }
    bool ThreadHasEnded(void* thread) override { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
    void WaitForThreadEnd(void* thread) override { WaitForSingleObject(thread, INFINITE); }
    void CloseThreadHandle(void* thread) override { CloseHandle(thread); }
    unsigned PeekPipe(void* readEnd, unsigned char* buffer, unsigned size) override {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, buffer, size, nullptr, &available, nullptr)) return 0;
        return available;
    }
    unsigned ReadPipe(void* readEnd, unsigned char* buffer, unsigned size) override {
        DWORD received = 0;
        if (!ReadFile(readEnd, buffer, size, &received, nullptr)) return 0;
        return received;
    }
    bool GetProcessExitCode(void* process, unsigned long& exitCode) override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process, &code)) return false;
        exitCode = code;
        return true;
    }
    void PostProgramControl(void* hWnd, unsigned code, long argument) override {
        PostMessageW(static_cast<HWND>(hWnd), programControlMessage, code, argument);
    }
    void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

SearchPlatform& Win32SearchPlatform() {
    static Win32Platform platform;
    return platform;
}
