// Searches under the timing a user meets: a box the user leaves open for minutes, a backend
// that dies while a new search waits for it, a search started after a failed one.
#include "SearchFakes.h"

namespace {

FakePlatform::Process& BackendOf(FakeDialog& d, int i) {
    return *static_cast<FakePlatform::Process*>(d.processes[i]);
}

TEST(SearchTimingTest, ARefusalBoxLeftOpenForMinutesTouchesNoOtherInstance) {
    FakeDialog d(10);
    d.scripts[1] = {{Backend::refused}};
    d.boxOpenFor = 5 * 60 * 1000;  // the user is away from the bench
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.Handled(pcCreateFailed, 1) == 1; }, 3600000));
    d.Drain();

    ASSERT_EQ(d.boxes.size(), 2u);
    EXPECT_EQ(d.boxes[0].text, L"No Ethernet adapter selected for QEL 2");
    EXPECT_EQ(d.boxes[1].text, L"Failed to create process for dravik.exe");
    EXPECT_TRUE(d.terminated.empty()) << "instance 1 is healthy and stays up";
    EXPECT_EQ(d.table.Cell(0, colActive), L"Yes");
    EXPECT_EQ(d.instanceLed[0], ledGreen);
    EXPECT_EQ(d.instanceLed[1], ledRed);
    EXPECT_EQ(d.currentInstance, 1);
    EXPECT_FALSE(findQelDevThreadRunning_g.load());
    EXPECT_EQ(d.platform.liveMonitors.load(), 0);
    EXPECT_EQ(d.platform.livePipes.load(), 0);
}

TEST(SearchTimingTest, ARefusalAnsweredAfterCtrlClickActsOnlyOnTheSearchThatAskedForTheStart) {
    // The worker asks for instance 2; Ctrl + the button is handled before that request; the
    // start is refused with a box, and inside the box's loop the old search ends, all is
    // closed and a new search begins. When the box closes, the refusal is stale: the new
    // search and its instance in flight are none of its business.
    FakeDialog d(3);
    d.scripts[1] = {{Backend::refused}, {Backend::report}};
    d.scripts[2] = {{Backend::held}};
    d.boxOpenFor = 3000;
    bool clicked = false;
    d.beforeStart = [&](int i) {
        if (i == 1 && !clicked) {
            clicked = true;
            d.ClickFindAndConfigure(true);
        }
    };
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.searchesStarted == 2 && d.processes[2] != nullptr && d.openBoxes == 0; }));
    d.Release(2, 0);
    ASSERT_TRUE(d.RunUntilIdle());

    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].text, L"No Ethernet adapter selected for QEL 2");
    EXPECT_EQ(d.Handled(pcCreateFailed, 1), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.instanceLed[i], ledGreen) << "QEL " << i + 1;
        EXPECT_EQ(d.table.Cell(i, colActive), L"Yes") << "QEL " << i + 1;
        EXPECT_TRUE(d.watch.watched[i]) << "QEL " << i + 1;
    }
    EXPECT_EQ(d.currentInstance, 3);
    EXPECT_FALSE(processCreationError_g.load());
    EXPECT_EQ(d.platform.liveMonitors.load(), 0);
}

TEST(SearchTimingTest, ABackendDyingWhileANewSearchWaitsForItIsSeenAtOnce) {
    FakeDialog d(10);
    d.scripts[3] = {{Backend::held}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[3] != nullptr; }));
    d.ClickFindAndConfigure(false);  // plain stop: instance 4 is still watched
    ASSERT_TRUE(d.RunUntil([] { return !findQelDevThreadRunning_g.load(); }));
    d.ClickFindAndConfigure(false);  // a new search waits for that watch to end
    ASSERT_TRUE(d.RunUntil([&] { return d.queue.Count(pcSearchLed, pcSearchLedBlink) >= 4; }));

    const long long diedAt = d.clock.Now();
    d.platform.EndProcess(BackendOf(d, 3), 1);
    ASSERT_TRUE(d.RunUntil([&] { return d.Handled(pcInstanceBase + 3, pcInstanceFailed) == 1; }));
    EXPECT_LE(d.clock.Now() - diedAt, 1000) << "the exit is seen on two looks half a second apart";
    EXPECT_EQ(d.instanceLed[3], ledOff);

    ASSERT_TRUE(d.RunUntilIdle());
    EXPECT_TRUE(d.boxes.empty()) << "a watch left by a plain stop reports without a box";
    EXPECT_EQ(d.startedInstances.back(), 9);
    EXPECT_EQ(d.platform.maxLiveMonitors.load(), 1);
}

TEST(SearchTimingTest, CloseAllAfterAPlainStopEndsTheWatchLeftBehindFirst) {
    // Ctrl-click while idle, and the dialog's close: the monitor left watching must have
    // ended before the backends go, or it could report a backend closed under it as
    // started (a green LED on a dead device) or outlive the dialog.
    for (bool closeDialog : {false, true}) {
        FakeDialog d(10);
        d.scripts[2] = {{Backend::held}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntil([&] { return d.processes[2] != nullptr; }));
        d.ClickFindAndConfigure(false);  // plain stop
        ASSERT_TRUE(d.RunUntil([] { return !findQelDevThreadRunning_g.load(); }));
        ASSERT_NE(hLingeringStatusThread_g.load(), nullptr);

        if (closeDialog)
            d.SendCloseCommand();
        else
            d.ClickFindAndConfigure(true);
        EXPECT_EQ(d.monitorsAliveAtCloseAll, 0);
        EXPECT_EQ(hLingeringStatusThread_g.load(), nullptr);
        EXPECT_EQ(d.platform.openThreadHandles.load(), 0);
        d.Drain();
        EXPECT_EQ(d.instanceLed[2], ledOff);
        EXPECT_EQ(d.table.Cell(2, colActive), L"No");
        EXPECT_EQ(d.closeAllCalls, 1) << "closed once";
    }
}

TEST(SearchTimingTest, ALateFailureOfAWatchLeftByAPlainStopIsNeverJudgedByTheSearchsEnd) {
    // The watch fails after the worker ended but before its end message was handled.
    FakeDialog d(10);
    d.scripts[2] = {{Backend::held}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[2] != nullptr; }));
    d.ClickFindAndConfigure(false);
    // Posted, not yet handled.
    ASSERT_TRUE(d.clock.WaitUntil(VirtualClock::never, [&] { return d.queue.Count(pcSearchLed, pcSearchEnded) == 1; }));
    d.Release(2, -1, "late failure");
    ASSERT_TRUE(d.clock.WaitUntil(VirtualClock::never, [] { return hReadEndPoint_g.load() == nullptr; }));
    d.Drain();
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_TRUE(d.terminated.empty()) << "its backend keeps running";
    EXPECT_EQ(d.currentInstance, 3);
}

TEST(SearchTimingTest, ASearchAfterAFailedStartEndsEvenWhenItsFirstPipeFails) {
    FakeDialog d(10);
    d.scripts[1] = {{Backend::creationFails}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.Handled(pcCreateFailed, 1) == 1; }));
    d.Drain();

    d.platform.failPipeNumber = d.platform.pipesCreated.load();
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle()) << "the search never ended: the close button would wait for ever";
    ASSERT_EQ(d.boxes.size(), 2u);
    EXPECT_EQ(d.boxes[1].text, L"Internal Error");
    EXPECT_EQ(d.instanceLed[1], ledRed);
    EXPECT_TRUE(d.closeAdapterEnabled);
}

}  // namespace

// Every wait ends as soon as what it waits for has happened: a search of backends that
// report at once takes no time of its own.
namespace {

long long TimeOf(FakeDialog& d, unsigned code, long argument) {
    for (const PostedMessage& m : d.queue.All())
        if (m.code == code && m.argument == argument) return m.at;
    return -1;
}

TEST(SearchTimingTest, BackendsThatReportAtOnceAreUpWithoutASingleWait) {
    FakeDialog d(10);
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
    EXPECT_EQ(d.currentInstance, 10);
    EXPECT_EQ(TimeOf(d, pcSearchLed, pcSearchEnded), 0) << "no wait ran into its time-out";
    EXPECT_EQ(d.queue.Count(pcSearchLed, pcSearchLedBlink), 0);
}

TEST(SearchTimingTest, TheRecordTheStopAndTheCloseRequestEachEndTheWaitsAtOnce) {
    {
        FakeDialog d(2);
        d.scripts[1] = {{Backend::held}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntil([&] { return d.clock.Now() >= 3100; }));
        d.Release(1, 0);
        const long long releasedAt = d.clock.Now();
        ASSERT_TRUE(d.RunUntilIdle());
        EXPECT_EQ(TimeOf(d, pcInstanceBase + 1, pcInstanceStarted), releasedAt) << "the record is read when it arrives";
        EXPECT_EQ(TimeOf(d, pcSearchLed, pcSearchEnded), releasedAt) << "the worker goes on when the monitor ends";
        EXPECT_GE(d.queue.Count(pcSearchLed, pcInstanceLedBlinkBase + 1), 12) << "the LED blinked meanwhile";
    }
    {
        FakeDialog d(10);
        d.scripts[2] = {{Backend::held}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntil([&] { return d.clock.Now() >= 1100; }));
        d.ClickFindAndConfigure(false);
        const long long stoppedAt = d.clock.Now();
        ASSERT_TRUE(d.RunUntil([] { return !findQelDevThreadRunning_g.load(); }));
        EXPECT_EQ(TimeOf(d, pcSearchLed, pcSearchEnded), stoppedAt) << "a plain stop ends the search at once";
    }
    {
        FakeDialog d(10);
        d.scripts[2] = {{Backend::held}, {Backend::report}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntil([&] { return d.clock.Now() >= 1100; }));
        d.ClickFindAndConfigure(true);
        const long long stoppedAt = d.clock.Now();
        ASSERT_TRUE(d.RunUntil([&] { return d.searchesStarted == 2; }));
        EXPECT_EQ(TimeOf(d, pcInstanceBase + 2, pcInstanceFailed), stoppedAt) << "the monitor gives up at once";
        EXPECT_EQ(d.clock.Now(), stoppedAt) << "all closed and the new search begun without a wait";
    }
}

}  // namespace
