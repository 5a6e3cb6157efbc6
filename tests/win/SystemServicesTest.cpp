// The one thread start and the one message box: what they promise their callers.
#include <gtest/gtest.h>

#include <atomic>

#include "MessageBoxWatcher.h"
#include "win32/MessageBox.h"
#include "win32/Threads.h"

namespace {

struct ThreadProbe {
    std::atomic<bool> recordedBeforeRun{false};
    std::atomic<bool> ran{false};
    std::atomic<bool> sawRecordFirst{false};
    HANDLE release = nullptr;
    wchar_t name[64] = {};
};

unsigned ProbeThread(void* argument) {
    auto* probe = static_cast<ThreadProbe*>(argument);
    probe->sawRecordFirst = probe->recordedBeforeRun.load();
    using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    const auto getDescription = reinterpret_cast<GetDescription>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
    PWSTR description = nullptr;
    if (getDescription && SUCCEEDED(getDescription(GetCurrentThread(), &description)) && description) {
        lstrcpynW(probe->name, description, 64);
        LocalFree(description);
    }
    WaitForSingleObject(probe->release, 10000);
    probe->ran = true;
    return 0;
}

TEST(NamedThread, RunsTheFunctionAfterBeforeRunAndHandsOutAHandleThatSignalsItsEnd) {
    ThreadProbe probe;
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    probe.release = release.get();
    NamedThread* object = nullptr;
    UniqueHandle thread = StartNamedThread(L"probe thread", ProbeThread, &probe, [&](NamedThread* started) {
        object = started;
        probe.recordedBeforeRun = true;
    });
    ASSERT_TRUE(thread);
    EXPECT_NE(object, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still held by the probe";
    SetEvent(release.get());
    ASSERT_EQ(WaitForSingleObject(thread.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(probe.ran);
    EXPECT_TRUE(probe.sawRecordFirst) << "beforeRun ran before the function";
    if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")) {
        EXPECT_STREQ(probe.name, L"probe thread");
    }
}

TEST(MessageBoxes, CaptionAndTextGoWhereTheyBelong) {
    for (BoxKind kind : {BoxKind::plain, BoxKind::information, BoxKind::warning, BoxKind::error}) {
        MessageBoxWatcher watcher;  // every box of this process, whatever its caption
        ShowMessageBox(nullptr, L"Box caption", L"The box's text.", kind);
        watcher.Stop();
        using Box = std::pair<std::wstring, std::wstring>;
        EXPECT_EQ(watcher.Boxes(), std::vector<Box>{Box(L"Box caption", L"The box's text.")});
    }
}

}  // namespace
