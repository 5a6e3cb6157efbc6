// One instance restarted or stopped from its LED's menu while the others stay as they are.
#include "SearchFakes.h"
#include "supervision/InstanceRecovery.h"

namespace {

// Three instances up, then instance 2's backend ends from outside (its box is seen).
void ThreeUpThenSecondDies(FakeDialog& d) {
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
    d.EndProcess(1, 7);
    ASSERT_TRUE(d.RunUntil([&] { return d.boxes.size() == 1; }));
    ASSERT_EQ(d.instanceLed[1], ledRed);
}

TEST(InstanceRecovery, RestartBringsBackTheDeadInstanceInPlaceAndNothingElse) {
    FakeDialog d(3);
    ThreeUpThenSecondDies(d);
    void* first = d.processes[0];
    void* third = d.processes[2];

    RestartInstance(d, 1);
    EXPECT_TRUE(findQelDevThreadRunning_g.load()) << "the window behaves as during a search";
    ASSERT_TRUE(d.RunUntilIdle());

    EXPECT_EQ(d.startedInstances, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(d.instanceLed[1], ledGreen);
    EXPECT_EQ(d.table.Cell(1, colActive), L"Yes");
    EXPECT_TRUE(d.watch.watched[1]);
    EXPECT_EQ(d.currentInstance, 3) << "a restart below the search's next row keeps the count";
    EXPECT_EQ(d.processes[0], first);
    EXPECT_EQ(d.processes[2], third);
    EXPECT_EQ(d.instanceLed[0], ledGreen);
    EXPECT_EQ(d.instanceLed[2], ledGreen);
    EXPECT_EQ(d.boxes.size(), 1u) << "no box but the exit's";
}

TEST(InstanceRecovery, ARestartThatFailsItsStartUpClosesOnlyThatInstance) {
    FakeDialog d(3);
    d.scripts[1] = {{Backend::report}, {Backend::report, -1, "Device not found"}};
    ThreeUpThenSecondDies(d);
    void* third = d.processes[2];

    RestartInstance(d, 1);
    ASSERT_TRUE(d.RunUntilIdle());

    ASSERT_EQ(d.boxes.size(), 2u);
    EXPECT_EQ(d.boxes[1].caption, L"Device not found");
    EXPECT_EQ(d.boxes[1].text.rfind(L"Process dravik.exe for QEL 2 failed to start up correctly", 0), 0u);
    EXPECT_EQ(d.terminated, (std::vector<int>{1, 1})) << "the dead backend given up, then the failed one closed";
    EXPECT_EQ(d.processes[1], nullptr);
    EXPECT_EQ(d.table.Cell(1, colActive), L"No");
    EXPECT_EQ(d.instanceLed[1], ledOff);
    EXPECT_EQ(d.currentInstance, 3);
    EXPECT_EQ(d.processes[2], third);
    EXPECT_EQ(d.instanceLed[2], ledGreen);
}

TEST(InstanceRecovery, StopEndsOneBackendWithoutABoxAndOnlyTheLastIsLeftToTheNextSearch) {
    FakeDialog d(3);
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());

    StopInstance(d, 0);
    d.Drain();
    EXPECT_EQ(d.processes[0], nullptr);
    EXPECT_EQ(d.table.Cell(0, colActive), L"No");
    EXPECT_EQ(d.instanceLed[0], ledOff);
    EXPECT_FALSE(d.watch.watched[0]);
    EXPECT_EQ(d.currentInstance, 3) << "an earlier row waits for its own restart";

    StopInstance(d, 2);
    d.Drain();
    EXPECT_EQ(d.currentInstance, 2) << "the last row goes back to the search";
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_EQ(d.instanceLed[1], ledGreen);

    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
    EXPECT_EQ(d.startedInstances, (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(d.processes[0], nullptr) << "the plain search does not start the stopped first row";
}

TEST(InstanceRecovery, TheMenuOffersWhatCanBeDoneNow) {
    InstanceFacts idle;
    idle.startable = true;
    idle.backendRunning = true;
    idle.active = true;
    idle.logExists = true;
    InstanceMenuState s = InstanceMenuFor(idle);
    EXPECT_TRUE(s.restart && s.stop && s.openWebPage && s.openLogFile);

    InstanceFacts searching = idle;
    searching.searchRunning = true;
    s = InstanceMenuFor(searching);
    EXPECT_FALSE(s.restart || s.stop) << "nothing starts or ends under a running search";
    EXPECT_TRUE(s.openWebPage && s.openLogFile);

    InstanceFacts beyond;  // a row past the one the search would start next, never started
    s = InstanceMenuFor(beyond);
    EXPECT_FALSE(s.restart || s.stop || s.openWebPage || s.openLogFile);
    EXPECT_EQ(RestartItemText(10), L"&Restart QEL 10");
    EXPECT_EQ(StopItemText(3), L"&Stop QEL 3");
}

}  // namespace
