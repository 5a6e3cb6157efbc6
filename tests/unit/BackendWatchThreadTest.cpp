// The watch over backends that started well: whole searches against the fakes, with
// backends that end by themselves or from outside after, during or instead of their
// start-up, and the program's own terminations.
#include "SearchFakes.h"

namespace {

const std::wstring separator = L"\n\n===========LOG===========\n";

std::wstring ExitBox(int n, const std::wstring& code, const std::wstring& tail) {
    return L"Process dravik.exe for QEL " + std::to_wstring(n) + L" has exited (exit code " + code + L")." + separator +
           tail;
}

std::wstring TailOf(int i) { return L"tail of [" + FakeDialog::LogOf(i) + L"]"; }

// Dispatches what is queued now (and what it leads to) before the clock moves on.
void DispatchPending(FakeDialog& d) { d.Drain(); }

void BringUp(FakeDialog& d) {
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
}

void ExpectUp(FakeDialog& d, int i) {
    EXPECT_EQ(d.table.Cell(i, colActive), L"Yes") << i;
    EXPECT_EQ(d.instanceLed[i], ledGreen) << i;
    EXPECT_TRUE(d.watch.watched[i]) << i;
    EXPECT_NE(d.exitWaits[i], nullptr) << i;
}

TEST(BackendWatchThreadTest, AnExitIsReportedOnceWithItsOwnLogAndCloseAllBringsTheInstanceBack) {
    FakeDialog d(3);
    BringUp(d);
    for (int i = 0; i < 3; ++i) ExpectUp(d, i);

    d.EndProcess(1, 0xFFFFFFFFul);
    ASSERT_TRUE(d.RunUntil([&] { return !d.boxes.empty(); }));
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].caption, L"Unexpected process exit");
    EXPECT_EQ(d.boxes[0].text, ExitBox(2, L"4294967295", TailOf(1)));
    EXPECT_EQ(d.table.Cell(1, colActive), L"No");
    EXPECT_EQ(d.instanceLed[1], ledRed);
    ExpectUp(d, 0);
    ExpectUp(d, 2);
    EXPECT_EQ(d.currentInstance, 3) << "the dead backend still counts until close-all";
    EXPECT_NE(d.processes[1], nullptr) << "its record is kept for close-all";
    EXPECT_FALSE(d.watch.watched[1]);

    // The same exit reported again (e.g. by a watcher that saw it twice): nothing more.
    d.queue.Post(pcBackendExited, 1);
    DispatchPending(d);
    EXPECT_EQ(d.boxes.size(), 1u);

    // A plain search does not restart the dead instance.
    BringUp(d);
    EXPECT_EQ(d.startedInstances, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(d.instanceLed[1], ledRed);

    // Close-all, then a search: every instance comes up again and is watched again.
    d.ClickFindAndConfigure(true);
    DispatchPending(d);
    EXPECT_EQ(d.currentInstance, 0);
    EXPECT_EQ(d.boxes.size(), 1u) << "close-all ends the live backends without a report";
    BringUp(d);
    EXPECT_EQ(d.startedInstances, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    for (int i = 0; i < 3; ++i) ExpectUp(d, i);
    d.EndProcess(1, 3);
    ASSERT_TRUE(d.RunUntil([&] { return d.boxes.size() == 2; }));
    EXPECT_EQ(d.boxes[1].text, ExitBox(2, L"3", TailOf(1)));
}

TEST(BackendWatchThreadTest, TheProgramsOwnTerminationsAreNeverReported) {
    FakeDialog d(3);
    d.scripts[2] = {{Backend::report}, {Backend::report, -1, "Port 830 in use"}};
    BringUp(d);

    // Close-all ends three live backends.
    d.ClickFindAndConfigure(true);
    DispatchPending(d);
    EXPECT_TRUE(d.boxes.empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d.watch.watched[i]);
        EXPECT_EQ(d.exitWaits[i], nullptr);
        EXPECT_EQ(d.instanceLed[i], ledOff);
    }

    // A backend ends from outside and its report is still queued when the user closes all:
    // the report crossed the program's own close and is not shown.
    BringUp(d);  // instance 3 fails its start-up this time and is terminated by the program
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].caption, L"Port 830 in use");
    EXPECT_EQ(d.terminated, std::vector<int>{2});
    d.EndProcess(0, 1);
    d.ClickFindAndConfigure(true);
    DispatchPending(d);
    EXPECT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.instanceLed[0], ledOff);
    EXPECT_EQ(d.currentInstance, 0);

    // A report about the earlier backend that arrives after the instance was started anew:
    // the new backend runs, nothing is reported.
    d.scripts[2] = {{Backend::report}};
    BringUp(d);
    d.queue.Post(pcBackendExited, 0);
    DispatchPending(d);
    EXPECT_EQ(d.boxes.size(), 1u);
    ExpectUp(d, 0);
}

TEST(BackendWatchThreadTest, AnExitDuringTheStartUpIsTheMonitorsToReportAndAfterItTheWatchs) {
    {
        FakeDialog d(3);
        d.scripts[1] = {{Backend::exitAtOnce}};
        BringUp(d);
        d.queue.Post(pcBackendExited, 1);  // even a report from elsewhere changes nothing
        DispatchPending(d);
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].caption, L"Unexpected process exit");
        EXPECT_NE(d.boxes[0].text.find(L"failed to start up correctly"), std::wstring::npos);
        EXPECT_FALSE(d.watch.watched[1]);
        EXPECT_EQ(d.instanceLed[1], ledOff);
    }
    {
        // Reported good, ended before the dialog handled the report: the watch sees it at once.
        FakeDialog d(3);
        d.scripts[1] = {{Backend::reportThenExit}};
        BringUp(d);
        DispatchPending(d);
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].text, ExitBox(2, L"5", TailOf(1)));
        EXPECT_EQ(d.instanceLed[1], ledRed);
        ExpectUp(d, 2);
    }
}

TEST(BackendWatchThreadTest, SeveralExitsAtOnceGiveOneBoxEachOneAfterAnother) {
    FakeDialog d(3);
    d.scripts[2] = {{Backend::report, 0, "", true}};  // started with Alt held: no log of its own
    BringUp(d);
    d.boxesRunModalLoop = true;
    std::vector<std::vector<int>> ledsWhileOpen;
    d.whileBoxOpen = [&] { ledsWhileOpen.push_back({d.instanceLed[0], d.instanceLed[1], d.instanceLed[2]}); };

    d.EndProcess(0, 1);
    d.EndProcess(1, 2);
    d.EndProcess(2, 3);
    ASSERT_TRUE(d.RunUntil([&] { return d.boxes.size() == 3 && d.openBoxes == 0; }));
    EXPECT_EQ(d.mostOpenBoxes, 1);
    EXPECT_EQ(d.boxes[0].text, ExitBox(1, L"1", TailOf(0)));
    EXPECT_EQ(d.boxes[1].text, ExitBox(2, L"2", TailOf(1)));
    EXPECT_EQ(d.boxes[2].text, ExitBox(3, L"3", L""));
    // The rows and LEDs of the later exits changed while the first box was still open.
    ASSERT_FALSE(ledsWhileOpen.empty());
    EXPECT_EQ(ledsWhileOpen[0], (std::vector<int>{ledRed, ledRed, ledRed}));
    EXPECT_TRUE(d.watch.queuedBoxes.empty());
}

}  // namespace
