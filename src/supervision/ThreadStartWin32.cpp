#include "supervision/ThreadStartWin32.h"

#include <process.h>


std::atomic<NamedThread*> threadFindAndConfigureQelDevice_gp{nullptr};
std::atomic<NamedThread*> threadLaunchWebBrowser_gp{nullptr};

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

