// The dialog's side of the program-control message without threads: hints, blink steps
// and codes that must do nothing.
#include "SearchFakes.h"

namespace {

TEST(ProgramControlHints, ControlsFirstThenHoverFlagsAndTheHintLineRepaintedOnEveryChange) {
    FakeDialog d(10);
    HandleProgramControl(d, pcHintRequest, 1006);
    EXPECT_EQ(d.hint, L"If LED is green, click to open a web browser for QEL 3. Right-click for restart, stop and log.");
    EXPECT_EQ(d.hintRepaints, 1) << "a new hint is painted at once";
    HandleProgramControl(d, pcHintRequest, 1006);
    EXPECT_EQ(d.hintRepaints, 1) << "the same hint again: nothing to repaint";
    HandleProgramControl(d, pcHintRequest, 1013);
    EXPECT_EQ(d.hint, L"If LED is green, click to open a web browser for QEL 10. Right-click for restart, stop and log.");
    HandleProgramControl(d, pcHintRequest, 1014);
    EXPECT_EQ(d.hint, L"If LED is flashing green, searching for connected QEL devices.");
    HandleProgramControl(d, pcHintRequest, 1001);
    EXPECT_EQ(d.hint, L"Double-click columns to change Ethernet Adapter or Startup File.");
    EXPECT_EQ(d.hintRepaints, 4);

    // A control wins over the hover flags; among the flags the close button comes first.
    d.hover[2] = d.hover[3] = true;
    HandleProgramControl(d, pcHintRequest, 1002);
    EXPECT_EQ(d.hint, L"Click to search for connected Ethernet network adapters.");
    HandleProgramControl(d, pcHintRequest, 0);
    EXPECT_EQ(d.hint, L"Click to drag the dialog, double-click to flip the dialog.");
    d.hover[0] = true;
    HandleProgramControl(d, pcHintRequest, 0);
    EXPECT_EQ(d.hint, L"Click to exit.");
    EXPECT_EQ(d.hintRepaints, 7);

    for (bool& h : d.hover) h = false;
    HandleProgramControl(d, pcHintRequest, 0);
    EXPECT_EQ(d.hint, L"");
    EXPECT_EQ(d.hintRepaints, 8);
    HandleProgramControl(d, pcHintRequest, 0);
    EXPECT_EQ(d.hintRepaints, 8) << "nothing to clear, nothing to repaint";
}

TEST(ProgramControlBlink, FirstStepIsOffAndThePhaseCarriesOver) {
    FakeDialog d(10);
    HandleProgramControl(d, pcSearchLed, pcSearchLedBlink);
    EXPECT_EQ(d.searchLed, ledOff);
    HandleProgramControl(d, pcSearchLed, pcSearchLedBlink);
    EXPECT_EQ(d.searchLed, ledGreen);
    HandleProgramControl(d, pcSearchLed, pcSearchLedBlink);
    EXPECT_EQ(d.searchLed, ledOff);
    EXPECT_TRUE(d.searchBlink);

    HandleProgramControl(d, pcSearchLed, pcInstanceLedBlinkBase + 9);
    EXPECT_EQ(d.instanceLed[9], ledOff);
    HandleProgramControl(d, pcSearchLed, pcInstanceLedBlinkBase + 9);
    EXPECT_EQ(d.instanceLed[9], ledYellow);
    EXPECT_FALSE(d.instanceBlink[0]) << "each instance has its own phase";
    HandleProgramControl(d, pcSearchLed, pcSearchLedGreen);
    EXPECT_EQ(d.searchLed, ledGreen);
}

TEST(ProgramControlCodes, UnknownCodesAndArgumentsDoNothing) {
    FakeDialog d(10);
    for (int& led : d.instanceLed) led = -1;
    const std::pair<unsigned, long> ignored[] = {{pcSearchLed, 15},  {pcSearchLed, 30}, {pcBrowserOpened, 10},
                                                 {pcPipeFailed, -1}, {50, 10},          {pcInstanceBase + 10, 3},
                                                 {pcInstanceBase, 1}, {99, 0},          {pcCreateFailed, 12}};
    for (auto [code, argument] : ignored) HandleProgramControl(d, code, argument);
    for (int led : d.instanceLed) EXPECT_EQ(led, -1);
    EXPECT_EQ(d.searchLed, -1);
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_EQ(d.focusedRow, -1);

    HandleProgramControl(d, pcBrowserOpened, 4);
    EXPECT_EQ(d.instanceLed[4], ledAmber);
    HandleProgramControl(d, 50, 7);
    EXPECT_EQ(d.focusedRow, 7);
    HandleProgramControl(d, pcStartUp, 0);
    EXPECT_EQ(d.startUpSteps, (std::vector<std::wstring>{L"adapters", L"layout"}));
}

}  // namespace
