// Hover flags, scale mode, drag, flip and the own close and minimize buttons, driven by
// points and key events against the reference geometry (s = 1.0, drag bar on the left).
#include <gtest/gtest.h>

#include "ui/Chrome.h"
#include "ui/Layout.h"

namespace {

struct Dialog {
    bool mouseOverArea[4] = {};
    bool mouseTracking = false;
    bool ctrlKeyDown = false;
    bool standardLayout = true;
    std::wstring hintText;
    ChromeState state{mouseOverArea, mouseTracking, ctrlKeyDown, standardLayout, hintText};
    ChromeRects rects;

    Dialog() { Relayout(); }
    void Relayout() {
        const DialogGeometry g = ComputeDialogGeometry(1.0, standardLayout);
        rects = {g.closeButtonRect, g.minimizeButtonRect, g.dragFlipArea, g.titleBarRect};
    }
    ChromeActions Move(int x, int y) { return HandleMouseMove(state, rects, x, y); }
    ChromeActions Up(int x, int y, bool searching = false) { return HandleButtonUp(state, rects, x, y, searching); }
};

TEST(MouseChrome, CloseButtonEdgesAreStrict) {
    for (auto [x, y] : {std::pair{826, 1}, std::pair{849, 24}}) {
        Dialog d;
        EXPECT_TRUE(d.Up(x, y).closeProcessesAndClose) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{825, 10}, std::pair{840, 0}, std::pair{850, 10}, std::pair{840, 25}}) {
        Dialog d;
        const ChromeActions a = d.Up(x, y);
        EXPECT_FALSE(a.closeProcessesAndClose || a.stopSearchAndClose || a.minimize) << x << "," << y;
    }
}

TEST(MouseChrome, CloseDuringASearchOnlyAsksTheSearchToStop) {
    Dialog d;
    const ChromeActions a = d.Up(840, 10, true);
    EXPECT_TRUE(a.stopSearchAndClose);
    EXPECT_FALSE(a.closeProcessesAndClose);
}

TEST(MouseChrome, HoverFlagsChangeOnlyOnEnteringAndLeaving) {
    Dialog d;
    ChromeActions a = d.Move(400, 10);  // title bar
    EXPECT_TRUE(a.trackMouseLeave);
    EXPECT_TRUE(a.invalidate);
    EXPECT_TRUE(d.mouseOverArea[overTitleBar]);
    a = d.Move(401, 11);
    EXPECT_FALSE(a.trackMouseLeave);  // already armed
    EXPECT_FALSE(a.invalidate);       // nothing entered or left

    a = d.Move(840, 10);  // onto the close button, still in the title bar
    EXPECT_TRUE(a.invalidate);
    EXPECT_TRUE(d.mouseOverArea[overCloseButton]);
    EXPECT_TRUE(d.mouseOverArea[overTitleBar]);

    d.Move(810, 10);  // minimize button
    EXPECT_FALSE(d.mouseOverArea[overCloseButton]);
    EXPECT_TRUE(d.mouseOverArea[overMinimizeButton]);
    EXPECT_EQ(d.hintText, L"");  // hints outside scale mode come from the hint request

    d.Move(15, 300);  // drag bar
    EXPECT_TRUE(d.mouseOverArea[overDragBar]);
    EXPECT_FALSE(d.mouseOverArea[overMinimizeButton]);
    EXPECT_FALSE(d.mouseOverArea[overTitleBar]);

    a = HandleMouseLeave(d.state);
    EXPECT_TRUE(a.invalidate);
    EXPECT_FALSE(d.mouseTracking);
    for (bool over : d.mouseOverArea) EXPECT_FALSE(over);
    EXPECT_TRUE(d.Move(15, 300).trackMouseLeave);  // re-armed by the first move after a leave
}

TEST(MouseChrome, PressDragsFromDragBarAndTitleBarButNotFromItsButtons) {
    Dialog d;
    EXPECT_TRUE(HandleButtonDown(d.state, d.rects, 15, 300).drag);
    d.Move(400, 10);
    EXPECT_TRUE(HandleButtonDown(d.state, d.rects, 400, 10).drag);
    d.Move(840, 10);
    EXPECT_FALSE(HandleButtonDown(d.state, d.rects, 840, 10).drag);
    d.Move(810, 10);
    EXPECT_FALSE(HandleButtonDown(d.state, d.rects, 810, 10).drag);
    d.Move(400, 300);  // body
    EXPECT_FALSE(HandleButtonDown(d.state, d.rects, 400, 300).drag);
    // Only the release position counts: press on the body, release over the close button.
    EXPECT_TRUE(d.Up(840, 10).closeProcessesAndClose);
}

TEST(MouseChrome, DoubleClickFlipsOnlyOnTheDragBar) {
    Dialog d;
    EXPECT_FALSE(HandleDoubleClick(d.state, d.rects, 400, 10).relayout);
    EXPECT_TRUE(d.standardLayout);
    EXPECT_TRUE(HandleDoubleClick(d.state, d.rects, 15, 300).relayout);
    EXPECT_FALSE(d.standardLayout);
    d.Relayout();
    EXPECT_FALSE(HandleDoubleClick(d.state, d.rects, 15, 300).relayout);  // now body territory
    EXPECT_TRUE(HandleDoubleClick(d.state, d.rects, 835, 300).relayout);
    EXPECT_TRUE(d.standardLayout);
}

TEST(MouseChrome, CtrlKeyEntersAndLeavesScaleModeWithHintsAndLabels) {
    Dialog d;
    ChromeActions a = HandleCtrlKey(d.state, true);
    EXPECT_TRUE(d.ctrlKeyDown);
    EXPECT_EQ(d.hintText, ChromeText::wheelHint);
    EXPECT_STREQ(a.findAndConfigureLabel, L"Close All Running Processes");
    EXPECT_TRUE(a.invalidate);

    a = HandleCtrlKey(d.state, true);  // auto-repeat changes nothing
    EXPECT_EQ(a.findAndConfigureLabel, nullptr);
    EXPECT_FALSE(a.invalidate);

    d.Move(810, 10);  // entering the minimize button in scale mode
    EXPECT_EQ(d.hintText, L"Click to automatically scale the dialog.");
    d.Move(700, 10);
    EXPECT_EQ(d.hintText, L"Use the mouse wheel to scale the dialog.");
    d.Move(810, 10);
    HandleMouseLeave(d.state);
    EXPECT_EQ(d.hintText, ChromeText::wheelHint);

    a = HandleCtrlKey(d.state, false);
    EXPECT_FALSE(d.ctrlKeyDown);
    EXPECT_EQ(d.hintText, L"");
    EXPECT_STREQ(a.findAndConfigureLabel, L"Find And Configure QEL Devices");

    a = HandleCtrlKey(d.state, false);  // already off
    EXPECT_EQ(a.findAndConfigureLabel, nullptr);

    d.Move(810, 10);  // over the minimize button when Ctrl goes down
    HandleCtrlKey(d.state, true);
    EXPECT_EQ(d.hintText, ChromeText::autoScaleHint);
    HandleCtrlKey(d.state, false);
    EXPECT_EQ(d.hintText, L"");
}

TEST(MouseChrome, AutoScaleClickEndsScaleModeAndRestoresLabelAndHint) {
    Dialog d;
    EXPECT_TRUE(d.Up(810, 10).minimize);  // outside scale mode it minimizes

    HandleCtrlKey(d.state, true);
    d.Move(810, 10);
    const ChromeActions a = d.Up(810, 10);
    EXPECT_TRUE(a.autoScale);
    EXPECT_FALSE(a.minimize);
    EXPECT_FALSE(d.ctrlKeyDown);
    // The label says again what a click on the Find And Configure button does, and the scaling hint is gone.
    EXPECT_STREQ(a.findAndConfigureLabel, L"Find And Configure QEL Devices");
    EXPECT_EQ(d.hintText, L"");
    EXPECT_TRUE(a.invalidate);

    // Still holding Ctrl: the next auto-repeat turns scale mode on again, with its label...
    ChromeActions repeat = HandleCtrlKey(d.state, true);
    EXPECT_TRUE(d.ctrlKeyDown);
    EXPECT_STREQ(repeat.findAndConfigureLabel, L"Close All Running Processes");
    // ...and the key-up ends it once more.
    const ChromeActions up = HandleCtrlKey(d.state, false);
    EXPECT_STREQ(up.findAndConfigureLabel, L"Find And Configure QEL Devices");
    EXPECT_FALSE(d.ctrlKeyDown);

    // Without an auto-repeat between click and key-up, the key-up finds scale mode off.
    HandleCtrlKey(d.state, true);
    d.Up(810, 10);
    const ChromeActions lateUp = HandleCtrlKey(d.state, false);
    EXPECT_EQ(lateUp.findAndConfigureLabel, nullptr);
    EXPECT_FALSE(lateUp.invalidate);
}

TEST(MouseChrome, MouseLeaveAsksForTheHintUnderTheMouseAndRepaintsOnlyWhatChanged) {
    Dialog d;
    d.Move(400, 300);  // body: no hover flag
    d.hintText = L"If LED is green, click to open a web browser for QEL 3.";
    ChromeActions a = HandleMouseLeave(d.state);
    // The LED's own request may have come first: the hint stays until the new request.
    EXPECT_EQ(d.hintText, L"If LED is green, click to open a web browser for QEL 3.");
    EXPECT_TRUE(a.requestHint);
    EXPECT_FALSE(a.invalidate);
    EXPECT_FALSE(a.invalidateHint);

    d.Move(840, 10);  // close button: its colour goes with the flag
    a = HandleMouseLeave(d.state);
    EXPECT_TRUE(a.invalidate);
    EXPECT_TRUE(a.requestHint);

    HandleCtrlKey(d.state, true);
    d.hintText = ChromeText::autoScaleHint;
    a = HandleMouseLeave(d.state);
    EXPECT_EQ(d.hintText, ChromeText::wheelHint);
    EXPECT_FALSE(a.requestHint) << "scale mode asks for no hints";
    EXPECT_TRUE(a.invalidateHint) << "only the hint line changed";
    EXPECT_FALSE(a.invalidate);
    a = HandleMouseLeave(d.state);
    EXPECT_FALSE(a.invalidateHint) << "the wheel hint already shows";
}

TEST(MouseChrome, CursorAndHintRequests) {
    Dialog d;
    for (int id : {1016, 1002, 1003, 1000, 1001, 1004, 1013}) {
        const CursorChoice c = ChooseCursor(d.state, id);
        EXPECT_TRUE(c.handCursor) << id;
        EXPECT_TRUE(c.requestHint) << id;
    }
    for (int id : {1014, 1015, 1018, 0}) EXPECT_FALSE(ChooseCursor(d.state, id).handCursor) << id;

    d.Move(400, 10);  // title bar outside the buttons: normal cursor
    EXPECT_FALSE(ChooseCursor(d.state, 0).handCursor);
    d.Move(840, 10);
    EXPECT_TRUE(ChooseCursor(d.state, 0).handCursor);
    d.Move(15, 100);
    EXPECT_TRUE(ChooseCursor(d.state, 0).handCursor);

    HandleCtrlKey(d.state, true);  // scale mode requests no hints
    EXPECT_FALSE(ChooseCursor(d.state, 1003).requestHint);
    EXPECT_TRUE(ChooseCursor(d.state, 1003).handCursor);
}

}  // namespace
