// The watch over backends that started well, with the live dialog and the stand-in
// backend: the exit watcher's thread on real process handles, and the dialog's report of
// a backend ended from outside.
#include "LaunchFixture.h"
#include "MessageBoxWatcher.h"
#include "common/ProgramControl.h"
#include "supervision/BackendExitWatcherWin32.h"
#include "win32/Diagnostics.h"

namespace launchtest {
namespace {

using BackendWatchWin32 = LaunchFixture;

// Program-control messages posted to a message-only window within the time.
std::vector<std::pair<WPARAM, LPARAM>> PostsWithin(HWND window, DWORD ms) {
    std::vector<std::pair<WPARAM, LPARAM>> posts;
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, window, programControlMessage, programControlMessage, PM_REMOVE))
            posts.emplace_back(msg.wParam, msg.lParam);
        Sleep(10);
    } while (GetTickCount64() < end && posts.empty());
    return posts;
}

bool EndFromOutside(HANDLE ours, UINT exitCode) {
    HANDLE other = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, GetProcessId(ours));
    if (!other) return false;
    const bool ended = TerminateProcess(other, exitCode) && WaitForSingleObject(other, 5000) == WAIT_OBJECT_0;
    CloseHandle(other);
    return ended;
}

TEST_F(BackendWatchWin32, WatcherPostsOnceForAnEndedProcessNothingAfterUnwatchAndLeavesNoHandle) {
    for (int i = 0; i < 2; ++i) {
        NewPipe();
        ASSERT_EQ(dialog->StartTsnProcess(), 1);
        ASSERT_EQ(ReadStatusRecord().size(), 8u);
    }
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const long handlesBefore = CountOpenKernelHandles();
    {
        BackendExitWatcher watcher;
        ASSERT_TRUE(watcher.Watch(window, 0, dialog->processInfo[0].hProcess));
        ASSERT_TRUE(watcher.Watch(window, 1, dialog->processInfo[1].hProcess));
        EXPECT_TRUE(PostsWithin(window, 300).empty()) << "nothing ended yet";

        const ULONGLONG killedAt = GetTickCount64();
        ASSERT_TRUE(EndFromOutside(dialog->processInfo[0].hProcess, 9));
        const auto posts = PostsWithin(window, 3000);
        ASSERT_EQ(posts.size(), 1u);
        EXPECT_EQ(posts[0], (std::pair<WPARAM, LPARAM>(pcBackendExited, 0)));
        EXPECT_LT(GetTickCount64() - killedAt, 1000u);
        EXPECT_TRUE(PostsWithin(window, 300).empty()) << "one post per exit";

        // The program's own termination right after Unwatch: never reported.
        watcher.Unwatch(1);
        TerminateProcess(dialog->processInfo[1].hProcess, 1);
        EXPECT_TRUE(PostsWithin(window, 500).empty());
    }
    EXPECT_EQ(CountOpenKernelHandles(), handlesBefore) << "thread, event and duplicates are all closed";
    DestroyWindow(window);
}

TEST_F(BackendWatchWin32, BackendEndedFromOutsideTurnsRedWithOneBoxAndItsOwnLogTail) {
    for (int i = 0; i < 3; ++i) {
        NewPipe();
        ASSERT_EQ(dialog->StartTsnProcess(), 1);
        ASSERT_EQ(ReadStatusRecord().size(), 8u);
        dialog->OnProgramControl(pcInstanceBase + i, pcInstanceStarted);
    }
    MessageBoxWatcher boxes;
    ASSERT_TRUE(EndFromOutside(dialog->processInfo[1].hProcess, 0xFFFFFFFF));
    const ULONGLONG endedAt = GetTickCount64();
    while (boxes.Boxes().empty() && GetTickCount64() - endedAt < 5000) Pump(20);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_LT(GetTickCount64() - endedAt, 1500u);
    const auto [caption, text] = boxes.Boxes()[0];
    EXPECT_EQ(caption, L"Unexpected process exit");
    const std::wstring head =
        L"Process dravik.exe for QEL 2 has exited (exit code 4294967295).\n\n===========LOG===========\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    // Its own log, though the latest start (the one the global names) was instance 3's.
    EXPECT_NE(text.find(L"FS_QEL_Instance1"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(text.find(L"FS_QEL_Instance2"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(dialog->instanceList.Cell(1, colActive), L"No");
    EXPECT_EQ(dialog->instanceLed[1].GetBitmap(), dialog->ledRedBitmap.get());
    for (int i : {0, 2}) {
        EXPECT_EQ(dialog->instanceList.Cell(i, colActive), L"Yes");
        EXPECT_EQ(dialog->instanceLed[i].GetBitmap(), dialog->ledGreenBitmap.get());
        EXPECT_EQ(WaitForSingleObject(dialog->processInfo[i].hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(dialog->currentInstance, 3);
    EXPECT_NE(dialog->processInfo[1].hProcess, nullptr) << "kept until close-all";

    // Close-all ends the two live backends and gives up the dead one's handles: no box.
    dialog->CloseAllOpenProcesses();
    Pump(1000);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(dialog->currentInstance, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dialog->processInfo[i].hProcess, nullptr);
}

TEST_F(BackendWatchWin32, ABackendWhoseEndCannotBeWatchedIsNotClaimedWatchedAndABoxSaysWhy) {
    NewPipe();
    ASSERT_EQ(dialog->StartTsnProcess(), 1);
    ASSERT_EQ(ReadStatusRecord().size(), 8u);
    // A handle value that names nothing: the exit watcher's duplication of it fails, as it
    // fails for a handle that has gone.
    PROCESS_INFORMATION& backend = dialog->processInfo[0];
    const HANDLE real = backend.hProcess;
    backend.hProcess = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x3FFFFFFC));
    const std::vector<std::wstring> texts = CaptureMessageBoxes(L"Process watch", [&] {
        dialog->OnProgramControl(pcInstanceBase + 0, pcInstanceStarted);
    });
    backend.hProcess = real;
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(L"Process dravik.exe for QEL 1 is up, but its end cannot be watched", 0), 0u)
        << Narrow(texts[0]);
    EXPECT_NE(texts[0].find(L"(error 6)"), std::wstring::npos) << "the system's reason: " << Narrow(texts[0]);
    EXPECT_FALSE(dialog->backendWatch.watched[0]);
    EXPECT_EQ(dialog->instanceList.Cell(0, colActive), L"Yes") << "it is up all the same";
}

}  // namespace
}  // namespace launchtest
