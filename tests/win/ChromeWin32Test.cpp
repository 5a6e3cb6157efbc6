// The window chrome on a live dialog: the layout pass applied to the window, its region,
// fonts and list columns; paints and layout passes that give back every GDI object;
// wheel scaling and the close button during a search.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "supervision/SearchState.h"
#include "ConfigTestSupport.h"
#include "win32/Diagnostics.h"

namespace {

// One dialog for the whole suite: destroying a window takes Wine about two seconds.
class ChromeWin32 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A scratch working directory for the configuration file the dialog reads or writes
        // on start-up, and its message boxes answered.
        directory_ = new configtest::ScratchDirectory();
        configtest::MessageBoxWatcher watcher;
        dlg_ = new CtarnwickDlg();
        hwnd_ = dlg_->CreateModeless();
        if (hwnd_) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        Pump();
    }
    static void TearDownTestSuite() {
        delete dlg_;
        dlg_ = nullptr;
        delete directory_;
        directory_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(hwnd_, nullptr);
        // The reference scale and state, whatever the monitor of this run or the test before.
        dlgScaleFactor_g = 1.0;
        dlgScaleFactorMax_g = 2.0;
        dlg_->ctrlKeyDown = false;
        dlg_->standardLayout = true;
        for (bool& over : dlg_->mouseOverArea) over = false;
        dlg_->instanceList.DeleteAllRows();
        dlg_->ConfigureDialogWindow();
        Pump();
    }
    void TearDown() override {
        findQelDevThreadRunning_g = false;
        stopFindQelDevThread_g = false;
        stopCheckQelDevStatusThread_g = false;
        closeAppAfterThreadExit_g = false;
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }
    int ColumnSum(int listId, int columns) const {
        int sum = 0;
        for (int c = 0; c < columns; ++c)
            sum += static_cast<int>(SendMessageW(GetDlgItem(hwnd_, listId), LVM_GETCOLUMNWIDTH, c, 0));
        return sum;
    }

    static configtest::ScratchDirectory* directory_;
    static CtarnwickDlg* dlg_;
    static HWND hwnd_;
};
configtest::ScratchDirectory* ChromeWin32::directory_ = nullptr;
CtarnwickDlg* ChromeWin32::dlg_ = nullptr;
HWND ChromeWin32::hwnd_ = nullptr;

TEST_F(ChromeWin32, LayoutPassSizesWindowRegionAndControls) {
    const RECT w = WindowRect();
    EXPECT_EQ(w.right - w.left, 850);
    EXPECT_EQ(w.bottom - w.top, 550);

    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(hwnd_, region.get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.get(), 15, 300));   // drag bar
    EXPECT_TRUE(PtInRegion(region.get(), 400, 10));   // title bar
    EXPECT_TRUE(PtInRegion(region.get(), 400, 300));  // body
    EXPECT_FALSE(PtInRegion(region.get(), 32, 300));  // gap beside the drag bar
    EXPECT_FALSE(PtInRegion(region.get(), 400, 27));  // gap under the title bar

    RECT list{};
    GetWindowRect(GetDlgItem(hwnd_, 1001), &list);
    MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.left, 40);
    EXPECT_EQ(list.top, 168);
    EXPECT_EQ(list.right - list.left, 805);
    EXPECT_EQ(list.bottom - list.top, 200);

    // Both lists are empty: columns fill the list, less 5 pixels (or 22 with a scroll bar).
    const int adapterAllowance = (GetWindowLongW(GetDlgItem(hwnd_, 1000), GWL_STYLE) & WS_VSCROLL) ? 22 : 5;
    EXPECT_EQ(ColumnSum(1000, 4), 805 - adapterAllowance);
}

TEST_F(ChromeWin32, LastColumnLeavesRoomForTheScrollBarOnceTheListScrolls) {
    for (int row = 0; row < 40; ++row) dlg_->instanceList.InsertRow(row, std::to_wstring(row + 1));
    dlg_->ConfigureDialogWindow();  // the list now shows its vertical scroll bar
    Pump();
    ASSERT_TRUE(GetWindowLongW(GetDlgItem(hwnd_, 1001), GWL_STYLE) & WS_VSCROLL);
    dlg_->ConfigureDialogWindow();
    EXPECT_EQ(ColumnSum(1001, 9), 805 - 22);
}

TEST_F(ChromeWin32, ControlsGetTheNewFontsAndTheOldOnesAreDeleted) {
    HFONT oldButtonFont = dlg_->fonts[2].get();
    HFONT oldListFont = dlg_->fonts[3].get();
    dlgScaleFactor_g = 1.5;
    dlg_->ConfigureDialogWindow();
    HFONT buttonFont = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1003), WM_GETFONT, 0, 0));
    HFONT listFont = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1000), WM_GETFONT, 0, 0));
    EXPECT_EQ(buttonFont, dlg_->fonts[2].get());
    EXPECT_EQ(listFont, dlg_->fonts[3].get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1018), WM_GETFONT, 0, 0)), listFont);
    EXPECT_EQ(GetObjectType(oldButtonFont), 0u);
    EXPECT_EQ(GetObjectType(oldListFont), 0u);
    LOGFONTW logFont{};
    GetObjectW(buttonFont, sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfHeight, 21);
    EXPECT_EQ(std::wstring(logFont.lfFaceName), L"Arial");
}

TEST_F(ChromeWin32, APassAtAnUnchangedScaleKeepsTheFonts) {
    const HFONT kept[4] = {dlg_->fonts[0].get(), dlg_->fonts[1].get(), dlg_->fonts[2].get(), dlg_->fonts[3].get()};
    dlg_->ConfigureDialogWindow();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg_->fonts[i].get(), kept[i]) << "font " << i;
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1003), WM_GETFONT, 0, 0)), kept[2]);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1001), WM_GETFONT, 0, 0)), kept[3]);
    EXPECT_NE(GetObjectType(kept[3]), 0u);
    // Away and back again: fonts of the reference scale once more, made anew.
    dlgScaleFactor_g = 1.25;
    dlg_->ConfigureDialogWindow();
    dlgScaleFactor_g = 1.0;
    dlg_->ConfigureDialogWindow();
    LOGFONTW listFont{};
    GetObjectW(dlg_->fonts[3].get(), sizeof listFont, &listFont);
    EXPECT_EQ(listFont.lfHeight, 13);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, 1000), WM_GETFONT, 0, 0)), dlg_->fonts[3].get());
}

// The pass inside the dialog's initialisation runs before the window is shown: it lays the
// window out without showing it.
TEST_F(ChromeWin32, APassOverAHiddenWindowLeavesItHidden) {
    ShowWindow(hwnd_, SW_HIDE);
    dlgScaleFactor_g = 1.5;
    dlg_->ConfigureDialogWindow();
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    const RECT w = WindowRect();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_FALSE(visible);
    EXPECT_EQ(w.right - w.left, 1275);
    EXPECT_EQ(w.bottom - w.top, 825);
}

TEST_F(ChromeWin32, PaintsAndLayoutPassesGiveBackEveryGdiObject) {
    auto passes = [] {
        for (int i = 0; i < 5; ++i) {
            dlgScaleFactor_g = 1.0 + 0.25 * i;
            dlg_->ConfigureDialogWindow();
            dlg_->mouseOverArea[i % 4] = true;
            dlg_->ctrlKeyDown = i % 2 == 1;
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    };
    passes();  // the system keeps some objects of its own from the first use on
    const long before = LiveGdiObjectCount();
    // The owners count only what goes through them; the probing count also sees an object
    // made and never deleted without one (Diagnostics.h).
    const long probedBefore = CountGdiObjectsByProbing();
    ASSERT_GT(probedBefore, 0);
    passes();
    EXPECT_EQ(LiveGdiObjectCount(), before);
    EXPECT_EQ(CountGdiObjectsByProbing(), probedBefore);
}

TEST_F(ChromeWin32, WheelScalesOnlyInScaleModeAndKeepsTheTopRightCorner) {
    const RECT start = WindowRect();
    SendMessageW(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(400, 300));
    EXPECT_EQ(WindowRect().right - WindowRect().left, 850);
    EXPECT_DOUBLE_EQ(dlgScaleFactor_g, 1.0);

    dlg_->ctrlKeyDown = true;
    SendMessageW(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), MAKELPARAM(400, 300));
    EXPECT_DOUBLE_EQ(dlgScaleFactor_g, 1.025);
    const RECT grown = WindowRect();
    EXPECT_EQ(grown.right - grown.left, 871);  // 871.25
    EXPECT_EQ(grown.right, start.right);
    EXPECT_EQ(grown.top, start.top);
    SendMessageW(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240)), MAKELPARAM(400, 300));
    EXPECT_DOUBLE_EQ(dlgScaleFactor_g, 1.025);
}

TEST_F(ChromeWin32, CloseDuringASearchOnlyRaisesTheStopFlags) {
    findQelDevThreadRunning_g = true;
    SendMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(840, 10));
    EXPECT_TRUE(stopFindQelDevThread_g);
    EXPECT_TRUE(stopCheckQelDevStatusThread_g);
    EXPECT_TRUE(closeAppAfterThreadExit_g);
    EXPECT_FALSE(dlg_->IsEnded());
    EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(ChromeWin32, CtrlKeyRelabelsTheSearchButton) {
    MSG down{hwnd_, WM_KEYDOWN, VK_CONTROL, 0, 0, {}};
    MSG up{hwnd_, WM_KEYUP, VK_CONTROL, 0, 0, {}};
    wchar_t text[64];
    dlg_->PreTranslateMessage(&down);
    GetWindowTextW(GetDlgItem(hwnd_, 1003), text, 64);
    EXPECT_STREQ(text, L"Close All Running Processes");
    EXPECT_EQ(dlg_->hintText, L"Use the mouse wheel to scale the dialog.");
    dlg_->PreTranslateMessage(&up);
    GetWindowTextW(GetDlgItem(hwnd_, 1003), text, 64);
    EXPECT_STREQ(text, L"Find And Configure QEL Devices");
    EXPECT_EQ(dlg_->hintText, L"");
}

}  // namespace
