// The search's real Windows path: the status pipe and a child process that writes its
// record through the inherited write end, the monitor on a real thread, the dialog's
// handling of a failed start with its message box, and the browser launch.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "supervision/SearchState.h"
#include "common/ProgramControl.h"
#include "supervision/Search.h"
#include "supervision/SearchPlatformWin32.h"
#include "ConfigTestSupport.h"

namespace {

// This program doubles as the child of these tests: as a backend that writes one status
// record (BRISVALE_STATUS_CHILD = "handle status text" or "exit") and as a browser that
// notes its command line (BRISVALE_BROWSER_LOG) when started with " -url ".
std::wstring Env(const wchar_t* name) {
    wchar_t value[2048];
    const DWORD n = GetEnvironmentVariableW(name, value, 2048);
    return n > 0 && n < 2048 ? std::wstring(value, n) : std::wstring();
}

const bool childModeChecked = [] {
    const std::wstring commandLine = GetCommandLineW();
    if (commandLine.find(L" -url ") != std::wstring::npos) {
        FILE* log = _wfopen(Env(L"BRISVALE_BROWSER_LOG").c_str(), L"wb");
        if (log) {
            fputws(commandLine.c_str(), log);
            fclose(log);
        }
        ExitProcess(0);
    }
    const std::wstring status = Env(L"BRISVALE_STATUS_CHILD");
    if (status.empty()) return false;
    if (status == L"exit") ExitProcess(3);
    wchar_t* rest = nullptr;
    const long long handle = wcstoll(status.c_str(), &rest, 10);
    const long code = wcstol(rest, &rest, 10);
    std::string text;
    for (const wchar_t* p = (*rest == L' ' ? rest + 1 : rest); *p; ++p) text.push_back(static_cast<char>(*p));
    if (const std::wstring delay = Env(L"BRISVALE_STATUS_DELAY_MS"); !delay.empty()) Sleep(wcstoul(delay.c_str(), nullptr, 10));
    if (text == "TICK") text = std::to_string(GetTickCount64());  // when it was written
    std::vector<unsigned char> record(8 + text.size());
    for (int b = 0; b < 4; ++b) {
        record[b] = static_cast<unsigned char>(static_cast<unsigned long>(code) >> (8 * b));
        record[4 + b] = static_cast<unsigned char>(text.size() >> (8 * b));
    }
    std::copy(text.begin(), text.end(), record.begin() + 8);
    DWORD written = 0;
    WriteFile(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle)), record.data(), static_cast<DWORD>(record.size()),
              &written, nullptr);
    Sleep(200);  // keeps running after its report, as a backend does
    ExitProcess(0);
}();

std::wstring OwnPath() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

bool IsInheritable(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) && (flags & HANDLE_FLAG_INHERIT);
}

// Pumps this thread's messages until the predicate holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Handles every message already queued, then returns.
void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct MonitorOutcome {
    std::vector<std::pair<WPARAM, LPARAM>> reports;  // program-control messages other than blink steps
    bool startupFailure, discoveryFailure;
    std::wstring errorMessage;
    double seconds;
    unsigned long long endTick;  // when the monitor had ended
};

// One start-up watched for real: pipe, child backend, monitor thread.
MonitorOutcome WatchChild(const std::wstring& childMode) {
    ResetSearchGlobals();
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SearchPlatform& platform = Win32SearchPlatform();
    EXPECT_TRUE(platform.CreateStatusPipe());
    HANDLE readEnd = hReadEndPoint_g.load(), writeEnd = hWriteEndPoint_g.load();
    EXPECT_TRUE(IsInheritable(writeEnd));
    EXPECT_FALSE(IsInheritable(readEnd)) << "a backend must inherit only the write end";

    std::wstring mode = childMode;
    if (mode != L"exit") mode = std::to_wstring(reinterpret_cast<intptr_t>(writeEnd)) + L" " + mode;
    SetEnvironmentVariableW(L"BRISVALE_STATUS_CHILD", mode.c_str());
    std::wstring commandLine = L"\"" + OwnPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL created = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &child);
    SetEnvironmentVariableW(L"BRISVALE_STATUS_CHILD", nullptr);
    EXPECT_TRUE(created);
    currentProcessStartup_g = child.hProcess;

    const auto begin = std::chrono::steady_clock::now();
    auto* record = new STATUSTHREADINFOSTRUCT;
    record->hWnd = window;
    record->stopFlag = &stopCheckQelDevStatusThread_g;
    record->instance = 4;
    record->platform = &platform;
    HANDLE monitor = static_cast<HANDLE>(platform.StartMonitorThread(record));
    EXPECT_NE(monitor, nullptr);
    EXPECT_EQ(WaitForSingleObject(monitor, 10000), WAIT_OBJECT_0);
    const unsigned long long endTick = GetTickCount64();
    DWORD exitCode = 1;
    GetExitCodeThread(monitor, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(monitor);

    MonitorOutcome outcome{};
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    outcome.endTick = endTick;
    MSG msg;
    while (PeekMessageW(&msg, window, programControlMessage, programControlMessage, PM_REMOVE))
        if (msg.wParam != pcSearchLed) outcome.reports.emplace_back(msg.wParam, msg.lParam);
    outcome.startupFailure = processStartupFailure_g;
    outcome.discoveryFailure = qelDiscoveryFailure_g;
    outcome.errorMessage = errorMessage_g;
    EXPECT_EQ(hReadEndPoint_g.load(), nullptr);
    EXPECT_EQ(hWriteEndPoint_g.load(), nullptr);
    EXPECT_FALSE(IsOpen(readEnd));
    EXPECT_FALSE(IsOpen(writeEnd));

    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 5000);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    DestroyWindow(window);
    ResetSearchGlobals();
    return outcome;
}

TEST(SearchWin32Thread, ChildReportsThroughTheInheritedWriteEnd) {
    const MonitorOutcome started = WatchChild(L"0 ready");
    ASSERT_EQ(started.reports.size(), 1u);
    EXPECT_EQ(started.reports[0], std::make_pair(WPARAM{pcInstanceBase + 4}, LPARAM{pcInstanceStarted}));
    EXPECT_FALSE(started.startupFailure);
    EXPECT_FALSE(started.discoveryFailure);

    const MonitorOutcome discovery = WatchChild(L"-1 ptp: Failed registrar startup");
    ASSERT_EQ(discovery.reports.size(), 1u);
    EXPECT_EQ(discovery.reports[0].second, LPARAM{pcInstanceFailed});
    EXPECT_TRUE(discovery.discoveryFailure);
    EXPECT_FALSE(discovery.startupFailure);
    EXPECT_EQ(discovery.errorMessage, L"ptp: Failed registrar startup");
}

TEST(SearchWin32Thread, TheRecordIsReadTheMomentItArrives) {
    // The monitor does not wait for its next look: the pipe's data ends its wait. The
    // child writes, as its failure text, the time of its write. A loaded machine may delay
    // one read now and then; a monitor that looks every half second is late every time, so
    // the quickest of three reads counts.
    for (const wchar_t* delay : {L"300", L"420"}) {
        unsigned long long quickest = ~0ull;
        for (int attempt = 0; attempt < 3 && quickest >= 120; ++attempt) {
            SetEnvironmentVariableW(L"BRISVALE_STATUS_DELAY_MS", delay);
            const MonitorOutcome reported = WatchChild(L"-1 TICK");
            SetEnvironmentVariableW(L"BRISVALE_STATUS_DELAY_MS", nullptr);
            ASSERT_EQ(reported.reports.size(), 1u);
            quickest = std::min(quickest, reported.endTick - std::stoull(reported.errorMessage));
        }
        EXPECT_LT(quickest, 120u) << "a look every half second takes up to 500 ms";
    }
}

TEST(SearchWin32Thread, ChildThatExitsWithoutARecordIsAnUnexpectedExit) {
    const MonitorOutcome gone = WatchChild(L"exit");
    ASSERT_EQ(gone.reports.size(), 1u);
    EXPECT_EQ(gone.reports[0].second, LPARAM{pcInstanceFailed});
    EXPECT_TRUE(gone.startupFailure);
    EXPECT_EQ(gone.errorMessage, L"Unexpected process exit");
    EXPECT_LT(gone.seconds, 3.0);
}

TEST(SearchWin32Thread, FailedStartEndsTheSearchWithRedLedAndABox) {
    ResetSearchGlobals();
    configtest::ScratchDirectory folder;
    ASSERT_TRUE(configtest::WriteBytes(L"qel-configuration.txt", "Instance 1\r\nInstance 2\r\n"));
    configtest::MessageBoxWatcher closer;
    CtarnwickDlg dialog;
    ASSERT_NE(dialog.CreateModeless(), nullptr);
    PumpPending();  // the deferred start-up step
    ASSERT_EQ(dialog.instanceList.RowCount(), 2);

    dialog.OnBnClickedButtonFindAndConfigureQelDevices();
    EXPECT_TRUE(findQelDevThreadRunning_g.load());
    EXPECT_FALSE(dialog.closeAdapterButton.IsWindowEnabled());
    ASSERT_TRUE(PumpUntil(
        [&] {
            auto boxes = closer.Boxes();
            return !boxes.empty() && boxes.back().second == L"Failed to create process for dravik.exe";
        },
        10000));
    // The worker has ended once its thread is signalled; what it posted is handled then.
    ASSERT_TRUE(PumpUntil([] { return WaitForSingleObject(hThreadFindAndConfigureQelDevice_g.load(), 0) == WAIT_OBJECT_0; },
                          10000));
    PumpPending();
    const auto boxes = closer.Boxes();
    EXPECT_EQ(boxes.back().first, L"Process creation");
    EXPECT_FALSE(findQelDevThreadRunning_g.load());
    EXPECT_EQ(dialog.instanceLed[0].GetBitmap(), dialog.ledRedBitmap.get());
    EXPECT_EQ(dialog.searchLed.GetBitmap(), dialog.ledOffBitmap.get());
    EXPECT_EQ(dialog.currentInstance, 0);
    EXPECT_EQ(hReadEndPoint_g.load(), nullptr) << "the monitor was stopped and closed the pipe";
    EXPECT_EQ(WaitForSingleObject(hThreadFindAndConfigureQelDevice_g.load(), 0), WAIT_OBJECT_0);
    ResetSearchGlobals();
}

TEST(SearchWin32Thread, LedClickOfAnActiveInstanceStartsTheBrowserAndTurnsItAmber) {
    ResetSearchGlobals();
    configtest::ScratchDirectory folder;
    ASSERT_TRUE(configtest::WriteBytes(L"qel-configuration.txt",
                                       "Instance 1\r\nIP 127.0.0.1\r\nPort 50000\r\nInstance 2\r\n"));
    configtest::MessageBoxWatcher closer;
    CtarnwickDlg dialog;
    ASSERT_NE(dialog.CreateModeless(), nullptr);
    ASSERT_EQ(dialog.instanceList.RowCount(), 2);
    ASSERT_EQ(dialog.instanceList.Cell(0, 4), L"50000");
    dialog.instanceList.SetCell(0, 1, L"Yes");
    dialog.browserCombo.ResetContent();
    dialog.browserCombo.AddString(L"Chrome");
    dialog.browserCombo.SetCurSel(0);
    dialog.chromePath = OwnPath();

    const std::wstring log = folder.Path() + L"\\browser.txt";
    SetEnvironmentVariableW(L"BRISVALE_BROWSER_LOG", log.c_str());

    HANDLE before = hThreadLaunchWebBrowser_g.load();
    dialog.OnStnClickedStaticQel2();  // not active: nothing
    EXPECT_EQ(hThreadLaunchWebBrowser_g.load(), before);

    dialog.OnStnClickedStaticQel1();
    EXPECT_TRUE(PumpUntil([&] { return dialog.instanceLed[0].GetBitmap() == dialog.ledAmberBitmap.get(); }, 5000));
    SetEnvironmentVariableW(L"BRISVALE_BROWSER_LOG", nullptr);

    wchar_t seen[1024] = {};
    if (FILE* f = _wfopen(log.c_str(), L"rb")) {
        const size_t n = fread(seen, sizeof(wchar_t), 1023, f);
        seen[n] = 0;
        fclose(f);
    }
    EXPECT_EQ(std::wstring(seen), OwnPath() + L" -url 127.0.0.1:50000");
}

}  // namespace
