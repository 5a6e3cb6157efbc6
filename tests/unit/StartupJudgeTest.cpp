// The status monitor's judgement of a start-up over time, and the blink schedule of the
// search's waits.
#include <gtest/gtest.h>

#include "supervision/StartupJudge.h"
#include "supervision/ThreadRecords.h"

namespace {

// One look: time, backend exists, backend ended, bytes received, record finished.
struct Look {
    long long now;
    bool exists, ended;
    std::size_t received;
    bool finished;
    StartupOutcome expected;
};

void Expect(const char* what, std::initializer_list<Look> looks, long long deadlineAfter) {
    StartupJudge judge;
    int n = 0;
    for (const Look& l : looks) {
        EXPECT_EQ(judge.Look(l.now, l.exists, l.ended, l.received, l.finished), l.expected) << what << ", look " << n;
        ++n;
    }
    EXPECT_EQ(judge.NextDeadline(), deadlineAfter) << what;
}

constexpr auto pending = StartupOutcome::pending, record = StartupOutcome::judgeRecord,
               exited = StartupOutcome::unexpectedExit, timedOut = StartupOutcome::timedOut;

TEST(StartupJudgeTest, EachOutcomeFallsDueAtItsTime) {
    Expect("a whole record is judged at once", {{0, false, false, 0, false, pending}, {40, true, false, 12, true, record}},
           2040);
    Expect("the clock starts with the backend, not with the monitor",
           {{0, false, false, 0, false, pending},
            {600000, false, false, 0, false, pending},  // a box held the start for ten minutes
            {600250, true, false, 0, false, pending},
            {840249, true, false, 0, false, pending},
            {840250, true, false, 0, false, timedOut}},
           840250);
    Expect("an exit counts when it is seen again half a second later",
           {{0, true, false, 0, false, pending}, {300, true, true, 0, false, pending}, {799, true, true, 0, false, pending},
            {800, true, true, 0, false, exited}},
           800);
    Expect("a record arriving between the two looks is judged as any other",
           {{0, true, false, 0, false, pending}, {300, true, true, 0, false, pending}, {600, true, true, 20, true, record}},
           800);
    Expect("a backend that ended in the middle of its record: what came is judged",
           {{0, true, true, 0, false, pending}, {200, true, true, 5, false, pending}, {500, true, true, 5, false, record}},
           500);
    Expect("a record in pieces has two seconds from its first bytes",
           {{100, true, false, 3, false, pending}, {2099, true, false, 6, false, pending}, {2100, true, false, 6, false, record}},
           2100);
    Expect("an exit is only an exit of a backend that exists",
           {{0, false, true, 0, false, pending}, {1000, false, true, 0, false, pending}}, noDeadline);
}

TEST(BlinkScheduleTest, StepsKeepTheirPaceAndAreNotMadeUpInABurst) {
    BlinkSchedule blink(1000);
    EXPECT_FALSE(blink.TakeDue(1249));
    EXPECT_TRUE(blink.TakeDue(1250));
    EXPECT_FALSE(blink.TakeDue(1250)) << "one step per due time";
    EXPECT_EQ(blink.NextAt(), 1500);
    EXPECT_TRUE(blink.TakeDue(1620)) << "a late look takes the step";
    EXPECT_EQ(blink.NextAt(), 1750) << "and the pace stays";
    EXPECT_TRUE(blink.TakeDue(3000));
    EXPECT_EQ(blink.NextAt(), 3250) << "steps missed while the thread did not run are dropped";
}

}  // namespace
