// Whole searches with the stand-in backend: three instances in a scratch workspace, real
// pipes, threads and processes, the dialog's program-control handling and its boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "LaunchFixture.h"
#include "MessageBoxWatcher.h"
#include "supervision/SearchState.h"
#include "supervision/Search.h"
#include "app/DialogSearchWin32.h"

namespace {

using launchtest::CountProcessesNamed;
using launchtest::WriteWholeFile;

class SearchWithStandIn : public launchtest::LaunchFixture {
protected:
    void SetUp() override {
        ResetFlags();
        LaunchFixture::SetUp();
    }
    void TearDown() override {
        // A monitor left watching must not outlive the test.
        RequestMonitorStop();
        if (HANDLE monitor = hLingeringStatusThread_g.exchange(nullptr)) {
            WaitForSingleObject(monitor, 5000);
            CloseHandle(monitor);
        }
        LaunchFixture::TearDown();
        ResetFlags();
    }
    static void ResetFlags() {
        for (auto* flag : {&findQelDevThreadRunning_g, &stopFindQelDevThread_g, &stopCheckQelDevStatusThread_g,
                           &closeAppAfterThreadExit_g, &closeRunningProcesses_g, &processStartupFailure_g,
                           &qelDiscoveryFailure_g, &processCreationError_g})
            *flag = false;
        errorMessage_g.clear();
    }
    bool PumpUntil(bool (*done)(CtarnwickDlg&), DWORD timeoutMs) {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (!done(*dialog)) {
            if (GetTickCount64() > end) return false;
            Pump(20);
        }
        return true;
    }
    void Behave(int instance, const std::string& lines) {
        WriteWholeFile(InstanceFolder(instance) + L"\\dravik-behaviour.txt", lines + "\r\nhttp=off\r\n");
    }
    int Led(int instance) {
        const HBITMAP shown = dialog->instanceLed[instance].GetBitmap();
        const HBITMAP colours[6] = {dialog->ledOffBitmap.get(),    dialog->ledGreenBitmap.get(), dialog->ledRedBitmap.get(),
                                    dialog->ledYellowBitmap.get(), dialog->ledBlueBitmap.get(),  dialog->ledAmberBitmap.get()};
        for (int c = 0; c < 6; ++c)
            if (colours[c] == shown) return c;
        return -1;
    }
    static bool SearchIdle(CtarnwickDlg&) { return !findQelDevThreadRunning_g.load(); }
    // The worker thread is gone, so everything it posted is queued: PumpPending handles it.
    static bool WorkerEnded(CtarnwickDlg& d) {
        HANDLE worker = hThreadFindAndConfigureQelDevice_g.load();
        return SearchIdle(d) && (!worker || WaitForSingleObject(worker, 0) == WAIT_OBJECT_0);
    }
};

TEST_F(SearchWithStandIn, ThreeInstancesComeUpOneAfterAnother) {
    MessageBoxWatcher creation(L"Process creation");
    ASSERT_TRUE(StartSearchWorker(*dialog));
    EXPECT_FALSE(dialog->closeAdapterButton.IsWindowEnabled());
    ASSERT_TRUE(PumpUntil(WorkerEnded, 20000));
    PumpPending();

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog->instanceList.Cell(i, colActive), L"Yes") << i;
        EXPECT_EQ(Led(i), 1) << i;
    }
    EXPECT_EQ(dialog->currentInstance, 3);
    EXPECT_EQ(CountProcessesNamed("dravik.exe"), 3);
    EXPECT_TRUE(creation.Texts().empty());
    EXPECT_TRUE(dialog->closeAdapterButton.IsWindowEnabled());
    EXPECT_EQ(hReadEndPoint_g.load(), nullptr);
    EXPECT_EQ(hWriteEndPoint_g.load(), nullptr);
}

TEST_F(SearchWithStandIn, FailedStartUpIsReportedWithTheLogAndItsBackendEnded) {
    Behave(1, "delay_ms=50\r\nstatus=-1\r\ntext=sync: Failed registrar startup");
    MessageBoxWatcher failure(L"sync: Failed registrar startup");
    ASSERT_TRUE(StartSearchWorker(*dialog));
    ASSERT_TRUE(PumpUntil(SearchIdle, 20000));

    ASSERT_EQ(failure.Texts().size(), 1u);
    const std::wstring head =
        L"Process dravik.exe for QEL 2 failed to start up correctly and will be closed\n\n===========LOG===========\n";
    EXPECT_EQ(failure.Texts()[0].substr(0, head.size()), head);
    EXPECT_GT(failure.Texts()[0].size(), head.size() + 20) << "the log tail follows";
    EXPECT_NE(failure.Texts()[0].find(L"Failed registrar startup"), std::wstring::npos) << launchtest::Narrow(failure.Texts()[0]);
    EXPECT_TRUE(qelDiscoveryFailure_g.load());
    EXPECT_EQ(dialog->currentInstance, 1);
    EXPECT_EQ(dialog->instanceList.Cell(0, colActive), L"Yes");
    EXPECT_EQ(dialog->instanceList.Cell(1, colActive), L"No");
    EXPECT_EQ(Led(1), 0);
    EXPECT_EQ(dialog->processInfo[1].hProcess, nullptr);
    EXPECT_EQ(CountProcessesNamed("dravik.exe"), 1);
}

TEST_F(SearchWithStandIn, AFailureWithAMalformedRecordIsAStartUpFailureButAStartIsAStart) {
    // Both write a length beyond the text they send: the start counts, the failure's text
    // cannot be trusted.
    Behave(0, "delay_ms=50\r\nmode=overlong-length\r\nstatus=0\r\ntext=ok");
    Behave(1, "delay_ms=50\r\nmode=overlong-length\r\nstatus=-1\r\ntext=bad");
    MessageBoxWatcher failure(L"Malformed status record");
    ASSERT_TRUE(StartSearchWorker(*dialog));
    ASSERT_TRUE(PumpUntil(SearchIdle, 20000));
    EXPECT_EQ(failure.Texts().size(), 1u);
    EXPECT_EQ(dialog->instanceList.Cell(0, colActive), L"Yes");
    EXPECT_EQ(dialog->currentInstance, 1);
    EXPECT_EQ(CountProcessesNamed("dravik.exe"), 1);
}

TEST_F(SearchWithStandIn, PlainStopLeavesTheWatchThenCtrlClickClosesEverything) {
    Behave(1, "mode=silent");
    ASSERT_TRUE(StartSearchWorker(*dialog));
    ASSERT_TRUE(PumpUntil([](CtarnwickDlg& d) { return d.currentInstance == 2; }, 20000));
    dialog->ctrlKeyDown = false;
    dialog->OnBnClickedButtonFindAndConfigureQelDevices();  // plain stop
    ASSERT_TRUE(PumpUntil(WorkerEnded, 5000));
    PumpPending();
    EXPECT_NE(hReadEndPoint_g.load(), nullptr) << "instance 2 is still watched";
    EXPECT_EQ(CountProcessesNamed("dravik.exe"), 2);

    dialog->ctrlKeyDown = true;
    dialog->OnBnClickedButtonFindAndConfigureQelDevices();  // close all while idle
    dialog->ctrlKeyDown = false;
    EXPECT_TRUE(launchtest::WaitUntilNoProcessNamed("dravik.exe", 5000));
    ASSERT_TRUE(PumpUntil([](CtarnwickDlg&) { return hReadEndPoint_g.load() == nullptr; }, 5000))
        << "the abandoned watch ends";
    EXPECT_EQ(dialog->currentInstance, 0);
    EXPECT_FALSE(findQelDevThreadRunning_g.load());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dialog->instanceList.Cell(i, colActive), L"No");
}

}  // namespace
