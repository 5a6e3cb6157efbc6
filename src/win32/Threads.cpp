#include "win32/Threads.h"

#include <process.h>

namespace {

// SetThreadDescription exists from Windows 10 1607 on; older systems run the thread unnamed.
void NameThread(HANDLE thread, const wchar_t* name) {
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    static const auto setDescription = reinterpret_cast<SetDescription>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
    if (setDescription && name) setDescription(thread, name);
}

}  // namespace

class NamedThread {
public:
    NamedThread(ThreadFunction function, void* record) : function_(function), record_(record) {}

    static unsigned __stdcall Run(void* argument) {
        auto* self = static_cast<NamedThread*>(argument);
        const unsigned result = self->function_ ? self->function_(self->record_) : 0;
        delete self;
        return result;
    }

    ThreadFunction function_;
    void* record_;
    UniqueHandle handle_;
};

UniqueHandle StartNamedThread(const wchar_t* name, ThreadFunction function, void* record,
                              const std::function<void(NamedThread*)>& beforeRun) {
    auto* thread = new NamedThread(function, record);
    const uintptr_t created = _beginthreadex(nullptr, 0, &NamedThread::Run, thread, CREATE_SUSPENDED, nullptr);
    if (created == 0) {
        delete thread;
        return UniqueHandle();
    }
    thread->handle_.reset(reinterpret_cast<HANDLE>(created));
    const HANDLE own = thread->handle_.get();
    SetThreadPriority(own, THREAD_PRIORITY_NORMAL);
    NameThread(own, name);
    UniqueHandle duplicate;
    if (!DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), duplicate.put(), 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        // It must not run after all: resumed, it returns at once without the function.
        thread->function_ = nullptr;
        ResumeThread(own);
        return UniqueHandle();
    }
    if (beforeRun) beforeRun(thread);
    ResumeThread(own);
    return duplicate;
}
