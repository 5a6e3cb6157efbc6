// Whole searches: the worker and the status monitor on real threads against the fake
// platform, the program-control handling on the test's thread against the fake dialog.
#include "SearchFakes.h"

namespace {

bool IsStart(const PostedMessage& m, int i) { return m.code == pcInstanceBase + i && m.argument == pcStartRequest; }
bool IsReport(const PostedMessage& m, int i, long argument) {
    return m.code == pcInstanceBase + i && m.argument == argument;
}
bool IsEnd(const PostedMessage& m) { return m.code == pcSearchLed && m.argument == pcSearchEnded; }

// Reports and start requests only, without the blink steps.
std::vector<PostedMessage> Reports(MessageQueue& queue) {
    std::vector<PostedMessage> out;
    for (const PostedMessage& m : queue.All())
        if (m.code != pcSearchLed || m.argument == pcSearchEnded) out.push_back(m);
    return out;
}

void ExpectCleanEnd(FakeDialog& d) {
    EXPECT_FALSE(findQelDevThreadRunning_g.load());
    EXPECT_FALSE(stopFindQelDevThread_g.load());
    EXPECT_EQ(d.searchLed, ledOff);
    EXPECT_TRUE(d.closeAdapterEnabled);
    EXPECT_EQ(d.platform.livePipes.load(), 0);
    EXPECT_EQ(d.platform.openThreadHandles.load(), 0);
    EXPECT_EQ(hReadEndPoint_g.load(), nullptr);
    EXPECT_EQ(hWriteEndPoint_g.load(), nullptr);
}

TEST(SearchThreadTest, TenInstancesStartOneAfterAnotherThenTheSearchEnds) {
    FakeDialog d(10);
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());

    const auto reports = Reports(d.queue);
    ASSERT_EQ(reports.size(), 21u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(IsStart(reports[2 * i], i)) << i;
        EXPECT_TRUE(IsReport(reports[2 * i + 1], i, pcInstanceStarted)) << i;
        EXPECT_EQ(d.table.Cell(i, colActive), L"Yes");
        EXPECT_EQ(d.instanceLed[i], ledGreen);
    }
    EXPECT_TRUE(IsEnd(reports[20]));
    EXPECT_EQ(d.currentInstance, 10);
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_EQ(d.platform.maxLiveMonitors.load(), 1);
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, AnyStatusOfZeroOrMoreIsAStartAndAShortTableEndsAtItsLastRow) {
    FakeDialog d(3);
    d.scripts[0] = {{Backend::report, 5, "five"}};
    d.scripts[1] = {{Backend::report, 0, ""}};
    d.scripts[2] = {{Backend::report, 2147483647, "max"}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());

    EXPECT_EQ(d.startedInstances, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(d.queue.Count(pcInstanceBase + 3, pcStartRequest), 0);
    EXPECT_EQ(d.queue.Count(pcSearchLed, pcSearchEnded), 1);
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_EQ(errorMessage_g, L"");
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, NegativeStatusEndsTheSearchWithTheBackendsTextAsCaption) {
    struct Case {
        std::string text;
        bool discovery;
    };
    for (const Case& c : {Case{"phy: Failed registrar startup (code 7)", true}, Case{"Failed registrar", false},
                          Case{"Port 830 in use", false}, Case{"", false}}) {
        FakeDialog d(10);
        d.scripts[2] = {{Backend::report, -1, c.text}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntilIdle()) << c.text;

        EXPECT_EQ(qelDiscoveryFailure_g.load(), c.discovery) << c.text;
        EXPECT_EQ(processStartupFailure_g.load(), !c.discovery) << c.text;
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].caption, std::wstring(c.text.begin(), c.text.end()));
        EXPECT_EQ(d.boxes[0].text,
                  L"Process dravik.exe for QEL 3 failed to start up correctly and will be closed\n\n"
                  L"===========LOG===========\nlast lines of the log");
        EXPECT_EQ(d.terminated, std::vector<int>{2});
        EXPECT_EQ(d.currentInstance, 2);
        EXPECT_EQ(d.table.Cell(2, colActive), L"No");
        EXPECT_EQ(d.instanceLed[2], ledOff);
        EXPECT_EQ(d.table.Cell(1, colActive), L"Yes");
        EXPECT_EQ(d.queue.Count(pcInstanceBase + 3, pcStartRequest), 0);
        ExpectCleanEnd(d);
    }
}

TEST(SearchThreadTest, MalformedRecordIsAStartupFailureWithAClearText) {
    FakeDialog d(10);
    d.scripts[0] = {{Backend::held}};
    d.ClickFindAndConfigure(false);
    // The first backend fails with a header whose length reaches beyond what it sent: the
    // rest is waited for two seconds, then what came is judged.
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[0] != nullptr; }));
    std::vector<unsigned char> record = MakeRecord(-1, "ok");
    record[4] = 200;
    d.platform.WriteRecord(hWriteEndPoint_g.load(), record);
    ASSERT_TRUE(d.RunUntilIdle());

    EXPECT_TRUE(processStartupFailure_g.load());
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].caption, L"Malformed status record");
    EXPECT_EQ(d.terminated, std::vector<int>{0});
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, SilentBackendTimesOutAfterTwoHundredFortySecondsOfBlinking) {
    FakeDialog d(10);
    d.scripts[0] = {{Backend::silent}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());

    // The LED steps four times a second from the monitor's start to its report.
    const int blinks = d.queue.Count(pcSearchLed, pcInstanceLedBlinkBase + 0);
    EXPECT_GE(blinks, 4 * 240 - 1);
    EXPECT_LE(blinks, 4 * 240);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].caption, L"Startup timeout exceeded");
    EXPECT_EQ(d.terminated, std::vector<int>{0});
    EXPECT_EQ(d.currentInstance, 0);
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, EarlyExitFailsHalfASecondAfterItWasSeenUnlessTheRecordCameMeanwhile) {
    {
        FakeDialog d(10);
        d.scripts[1] = {{Backend::exitAtOnce}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntilIdle());
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].caption, L"Unexpected process exit");
        const auto* process = static_cast<FakePlatform::Process*>(currentProcessStartup_g.load());
        EXPECT_EQ(process->exitObservations.load(), 1) << "an ended process is looked at once, then only the time counts";
        const auto all = d.queue.All();
        const auto failed = std::find_if(all.begin(), all.end(), [](auto& m) { return IsReport(m, 1, pcInstanceFailed); });
        ASSERT_NE(failed, all.end());
        EXPECT_EQ(failed->at - process->firstExitSeenAt, 500);
        EXPECT_EQ(d.terminated, std::vector<int>{1});
        ExpectCleanEnd(d);
    }
    {
        FakeDialog d(2);
        d.scripts[1] = {{Backend::exitThenReport, 0, ""}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntilIdle());
        EXPECT_EQ(d.queue.Count(pcInstanceBase + 1, pcInstanceStarted), 1) << "the record came in time";
        // Its exit is then the watch's to report, not the start-up's.
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_NE(d.boxes[0].text.find(L"has exited (exit code 0)"), std::wstring::npos);
        EXPECT_EQ(d.table.Cell(1, colActive), L"No");
        EXPECT_EQ(d.instanceLed[1], ledRed);
        ExpectCleanEnd(d);
    }
}

TEST(SearchThreadTest, PlainStopLeavesTheInstanceInFlightToReportByItself) {
    for (int outcome : {0, -1}) {
        FakeDialog d(10);
        d.scripts[3] = {{Backend::held}};
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntil([&] { return d.processes[3] != nullptr; }));
        d.ClickFindAndConfigure(false);
        // Not until idle: the monitor left watching keeps blinking.
        ASSERT_TRUE(d.RunUntil([] { return !findQelDevThreadRunning_g.load(); }));
        EXPECT_EQ(d.searchLed, ledOff);
        EXPECT_TRUE(d.boxes.empty());
        EXPECT_NE(hReadEndPoint_g.load(), nullptr) << "the monitor still watches instance 4";

        d.Release(3, outcome, "late failure");
        ASSERT_TRUE(d.RunUntil([&] { return d.Handled(pcInstanceBase + 3, outcome == 0 ? pcInstanceStarted : pcInstanceFailed) == 1; }));
        EXPECT_TRUE(d.boxes.empty());
        EXPECT_TRUE(d.terminated.empty());
        EXPECT_EQ(d.currentInstance, 4);
        EXPECT_EQ(d.table.Cell(3, colActive), outcome == 0 ? L"Yes" : L"No");
        EXPECT_EQ(d.instanceLed[3], outcome == 0 ? ledGreen : ledOff);
        EXPECT_EQ(d.queue.Count(pcInstanceBase + 4, pcStartRequest), 0);
    }
}

TEST(SearchThreadTest, NewSearchWaitsForTheReportOfAMonitorLeftByAPlainStop) {
    FakeDialog d(10);
    d.scripts[3] = {{Backend::held}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[3] != nullptr; }));
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([] { return !findQelDevThreadRunning_g.load(); }));

    d.ClickFindAndConfigure(false);  // a new search while instance 4 is still watched
    ASSERT_TRUE(d.RunUntil([&] { return d.queue.Count(pcSearchLed, pcSearchLedBlink) >= 20; }));
    EXPECT_EQ(d.queue.Count(pcInstanceBase + 4, pcStartRequest), 0);

    d.Release(3, 0);
    ASSERT_TRUE(d.RunUntilIdle());
    const auto reports = Reports(d.queue);
    const auto started3 = std::find_if(reports.begin(), reports.end(), [](auto& m) { return IsReport(m, 3, pcInstanceStarted); });
    const auto start4 = std::find_if(reports.begin(), reports.end(), [](auto& m) { return IsStart(m, 4); });
    ASSERT_NE(started3, reports.end());
    ASSERT_NE(start4, reports.end());
    EXPECT_LT(started3 - reports.begin(), start4 - reports.begin());
    EXPECT_EQ(d.currentInstance, 10);
    EXPECT_EQ(d.platform.maxLiveMonitors.load(), 1);
    EXPECT_TRUE(d.boxes.empty());
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, CtrlStopClosesEverythingAndSearchesAgainFromTheFirstInstance) {
    FakeDialog d(10);
    d.scripts[3] = {{Backend::held}, {Backend::report}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[3] != nullptr; }));
    d.ClickFindAndConfigure(true);
    ASSERT_TRUE(d.RunUntil([&] { return d.searchesStarted == 2; }));
    EXPECT_EQ(d.closeAllCalls, 1);
    EXPECT_EQ(d.sweeps, 1);
    EXPECT_FALSE(closeRunningProcesses_g.load());
    EXPECT_EQ(d.queue.Count(pcInstanceBase + 3, pcInstanceFailed), 1) << "the watch was abandoned";
    ASSERT_TRUE(d.RunUntilIdle());
    EXPECT_EQ(d.currentInstance, 10);
    EXPECT_EQ(d.startedInstances.size(), 14u);
    EXPECT_TRUE(d.boxes.empty());
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, CloseAllTurnsEveryRowToNoEveryLedOffAndEndsEveryBackendOnce) {
    FakeDialog d(10);
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
    ASSERT_EQ(d.currentInstance, 10);
    std::vector<FakePlatform::Process*> started;
    for (void* process : d.processes) started.push_back(static_cast<FakePlatform::Process*>(process));
    d.ClickFindAndConfigure(true);  // Ctrl + the button with no search running: close all
    ASSERT_TRUE(d.RunUntil([&] { return d.closeAllCalls == 1; }));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.table.Cell(i, colActive), L"No") << "row " << i;
        EXPECT_EQ(d.instanceLed[i], ledOff) << "LED " << i;
        EXPECT_EQ(d.processes[i], nullptr) << "instance " << i << " forgotten";
        ASSERT_NE(started[i], nullptr);
        EXPECT_EQ(started[i]->exitCode.load(), 1ul) << "instance " << i << " ended by close-all";
    }
    EXPECT_EQ(d.currentInstance, 0);
    EXPECT_TRUE(d.boxes.empty()) << "the program's own terminations are not reported";
}

TEST(SearchThreadTest, CloseButtonDuringASearchClosesBackendsThenTheDialog) {
    FakeDialog d(10);
    d.scripts[1] = {{Backend::held}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.processes[1] != nullptr; }));
    RequestSearchStopAndCloseApp();  // the close button while a search runs
    ASSERT_TRUE(d.RunUntil([&] { return d.closed; }));
    EXPECT_EQ(d.closeAllCalls, 1);
    EXPECT_EQ(d.sweeps, 1);
    EXPECT_EQ(d.currentInstance, 0);
    EXPECT_EQ(d.searchesStarted, 1);
    EXPECT_TRUE(d.boxes.empty());
    ExpectCleanEnd(d);
}

TEST(SearchThreadTest, CtrlClickWhileIdleClosesAllAndStartsNothing) {
    FakeDialog d(10);
    d.ClickFindAndConfigure(true);
    EXPECT_EQ(d.closeAllCalls, 1);
    EXPECT_EQ(d.sweeps, 1);
    EXPECT_EQ(d.searchesStarted, 0);
    EXPECT_TRUE(stopCheckQelDevStatusThread_g.load());
}

TEST(SearchThreadTest, WithAllInstancesUpOnlyTheEndIsPosted) {
    FakeDialog d(10);
    d.currentInstance = 10;
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntilIdle());
    const auto reports = Reports(d.queue);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(IsEnd(reports[0]));
    EXPECT_EQ(d.platform.pipesCreated.load(), 0);
}

TEST(SearchThreadTest, FailedStartStopsTheMonitorAndEndsWithoutTheEndMessage) {
    FakeDialog d(10);
    d.scripts[1] = {{Backend::creationFails}};
    d.ClickFindAndConfigure(false);
    ASSERT_TRUE(d.RunUntil([&] { return d.boxes.size() == 1; }));
    d.Drain();

    // The system's reason follows on a line of its own.
    EXPECT_EQ(d.boxes[0].text, L"Failed to create process for dravik.exe\nThe system cannot find the file specified. (error 2)");
    EXPECT_EQ(d.boxes[0].caption, L"Process creation");
    EXPECT_EQ(d.instanceLed[1], ledRed);
    EXPECT_EQ(d.searchLed, ledOff);
    EXPECT_EQ(d.queue.Count(pcSearchLed, pcSearchEnded), 0);
    EXPECT_FALSE(findQelDevThreadRunning_g.load());
    EXPECT_EQ(d.currentInstance, 1);
    EXPECT_TRUE(d.closeAdapterEnabled) << "the search is over";
    EXPECT_FALSE(d.closed);
    EXPECT_EQ(d.closeAllCalls, 0);
    EXPECT_EQ(d.platform.livePipes.load(), 0);
    EXPECT_EQ(d.platform.liveMonitors.load(), 0);
}

TEST(SearchThreadTest, CloseRequestsPendingAtAFailedStartAreActedOnAfterItsBox) {
    for (bool closeApp : {true, false}) {
        FakeDialog d(10);
        d.scripts[0] = {{Backend::creationFails}};
        d.ClickFindAndConfigure(false);
        (closeApp ? closeAppAfterThreadExit_g : closeRunningProcesses_g) = true;
        ASSERT_TRUE(d.RunUntil([&] { return d.Handled(pcCreateFailed, 0) == 1; }));
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.closed, closeApp);
        EXPECT_EQ(d.closeAllCalls, 1);
        EXPECT_EQ(d.sweeps, 1);
        EXPECT_EQ(d.searchesStarted, 1) << "the same row would only fail again";
        EXPECT_FALSE(closeAppAfterThreadExit_g.load());
        EXPECT_FALSE(closeRunningProcesses_g.load());
        EXPECT_TRUE(d.closeAdapterEnabled);
    }
}

TEST(SearchThreadTest, PipeOrMonitorThatCannotBeMadeEndsTheSearchWithAnInternalError) {
    for (bool monitorFails : {false, true}) {
        FakeDialog d(10);
        if (monitorFails)
            d.platform.failMonitorStart = true;
        else
            d.platform.failPipeNumber = 0;
        d.ClickFindAndConfigure(false);
        ASSERT_TRUE(d.RunUntilIdle());
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].text, L"Internal Error");
        EXPECT_EQ(d.boxes[0].caption, L"Process startup issue");
        EXPECT_EQ(d.instanceLed[0], ledRed);
        EXPECT_EQ(d.queue.Count(pcInstanceBase, pcStartRequest), 0);
        ExpectCleanEnd(d);
    }
}

}  // namespace
