// How the dialogs behave as windows: a dialog run modally over an owner is centred on it and
// keeps it disabled until it ends; ending the owner ends a dialog still open over it; the
// main dialog ignores Enter and Escape, takes the system close as its close path, and opens
// the About box modally over itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "ConfigTestSupport.h"
#include "app/CtarnwickDlgWin32.h"
#include "supervision/SearchState.h"
#include "app/SharedGlobals.h"
#include "common/ProgramControl.h"
#include "resource.h"
#include "win32/DialogBase.h"

namespace {

constexpr UINT stepMessage = WM_APP + 7;

// A dialog on the About template whose first dispatched message runs `step`.
class StepDialog : public DialogBase {
public:
    StepDialog(HWND owner, std::function<void(StepDialog&)> step) : DialogBase(IDD_ABOUTBOX, owner), step_(std::move(step)) {}
    using DialogBase::EndDialog;

protected:
    BOOL OnInitDialog() override {
        PostMessageW(hwnd_, stepMessage, 0, 0);
        return DialogBase::OnInitDialog();
    }
    void OnMessage(MessageContext& m) override {
        if (m.message != stepMessage) return;
        step_(*this);
    }

private:
    std::function<void(StepDialog&)> step_;
};

POINT CentreOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Ends a modal loop that would otherwise never end, so that a failing test fails instead of hanging.
class Watchdog {
public:
    explicit Watchdog(DialogBase& dialog) {
        target_ = &dialog;
        fired_ = false;
        timer_ = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
            fired_ = true;
            target_->EndDialog(-2);
        });
    }
    ~Watchdog() { KillTimer(nullptr, timer_); }
    static bool Fired() { return fired_; }

private:
    UINT_PTR timer_;
    static inline DialogBase* target_ = nullptr;
    static inline bool fired_ = false;
};

class OwnerWindow {
public:
    OwnerWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 300, 200, 700, 500, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST(DialogConduct, ModalDialogIsOwnedCentredAndDisablesItsOwnerUntilItEnds) {
    OwnerWindow owner;
    ASSERT_TRUE(owner.get());
    HWND seenOwner = nullptr;
    BOOL ownerEnabledMeanwhile = TRUE;
    POINT centre{}, ownerCentre = CentreOf(owner.get());
    StepDialog box(owner.get(), [&](StepDialog& d) {
        seenOwner = GetWindow(d.GetSafeHwnd(), GW_OWNER);
        ownerEnabledMeanwhile = IsWindowEnabled(owner.get());
        centre = CentreOf(d.GetSafeHwnd());
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(seenOwner, owner.get());
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_NEAR(centre.x, ownerCentre.x, 1);
    EXPECT_NEAR(centre.y, ownerCentre.y, 1);
}

TEST(DialogConduct, SystemCloseCancelsAPlainDialog) {
    OwnerWindow owner;
    StepDialog box(owner.get(), [](StepDialog& d) { SendMessageW(d.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    Watchdog watchdog(box);
    EXPECT_EQ(box.DoModal(), IDCANCEL);
}

TEST(DialogConduct, EndingTheOwnerEndsTheDialogOpenOverIt) {
    StepDialog* outerPointer = nullptr;
    INT_PTR innerResult = 0;
    StepDialog outer(nullptr, [&](StepDialog& d) {
        StepDialog inner(d.GetSafeHwnd(), [&](StepDialog&) { outerPointer->EndDialog(7); });
        Watchdog watchdog(inner);
        innerResult = inner.DoModal();
    });
    outerPointer = &outer;
    EXPECT_EQ(outer.DoModal(), 7);
    EXPECT_FALSE(Watchdog::Fired()) << "the dialog over the ended one kept running";
    EXPECT_EQ(innerResult, IDCANCEL);
}

// The main dialog, created as the program creates it but driven message by message.
class MainDialogConduct : public ::testing::Test {
protected:
    void SetUp() override {
        {
            // The first start's boxes about its default file, and the deferred start-up step.
            configtest::MessageBoxWatcher watcher;
            hwnd_ = dlg_.CreateModeless();
            ASSERT_NE(hwnd_, nullptr);
            ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
            Pump();
        }
        // The close path of a duplicate copy touches no backend on this workstation.
        dlg_.duplicateCopy = true;
    }
    void TearDown() override {
        findQelDevThreadRunning_g = false;
        stopFindQelDevThread_g = false;
        stopCheckQelDevStatusThread_g = false;
        closeAppAfterThreadExit_g = false;
    }
    // Messages pass the dialog's own pre-translation as in its modal loop.
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!dlg_.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    void PressKey(HWND target, WPARAM key) {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        Pump();
    }

    configtest::ScratchDirectory directory_;
    CtarnwickDlg dlg_;
    HWND hwnd_ = nullptr;
};

TEST_F(MainDialogConduct, EnterAndEscapeLeaveTheWindowOpen) {
    HWND list = GetDlgItem(hwnd_, 1001);
    SetFocus(list);
    PressKey(list, VK_RETURN);
    PressKey(list, VK_ESCAPE);
    PressKey(GetDlgItem(hwnd_, 1000), VK_ESCAPE);
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Pump();
    EXPECT_FALSE(dlg_.IsEnded());
    EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(MainDialogConduct, SystemCloseDuringASearchStopsItFirstAndClosesOtherwise) {
    dlg_.duplicateCopy = false;  // the search is stopped before any backend is touched
    findQelDevThreadRunning_g = true;
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(stopFindQelDevThread_g);
    EXPECT_TRUE(stopCheckQelDevStatusThread_g);
    EXPECT_TRUE(closeAppAfterThreadExit_g);
    EXPECT_FALSE(dlg_.IsEnded());

    dlg_.duplicateCopy = true;
    findQelDevThreadRunning_g = false;
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(dlg_.IsEnded());
}

// A drop-down combo box's text field is an edit window with an id of its own (1001, the
// instance table's): the cursor and the hint go by the combo box that holds it.
TEST_F(MainDialogConduct, CursorOverAChooserTextFieldGoesByTheChooser) {
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    auto cursorOver = [&](HWND window, LPARAM& hintRequest) {
        SetCursor(nullptr);
        SendMessageW(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        MSG msg{};
        hintRequest = PeekMessageW(&msg, hwnd_, programControlMessage, programControlMessage, PM_NOREMOVE) &&
                              msg.wParam == pcHintRequest
                          ? msg.lParam
                          : -1;
        Pump();
        return GetCursor();
    };
    for (int chooser : {1015, 1018}) {
        HWND field = GetWindow(GetDlgItem(hwnd_, chooser), GW_CHILD);
        ASSERT_NE(field, nullptr) << chooser;
        EXPECT_EQ(GetDlgCtrlID(field), 1001) << chooser;
        LPARAM hintFor = 0;
        EXPECT_NE(cursorOver(field, hintFor), hand) << chooser;
        EXPECT_EQ(hintFor, chooser);
        EXPECT_EQ(dlg_.hintText, L"") << chooser;
    }
    LPARAM hintFor = 0;
    EXPECT_EQ(cursorOver(GetDlgItem(hwnd_, 1001), hintFor), hand);
    EXPECT_EQ(hintFor, 1001);
    EXPECT_EQ(dlg_.hintText, L"Double-click columns to change Ethernet Adapter or Startup File.");
}

// The About box over the main dialog; closing the main dialog meanwhile (the end of a search
// that was asked to close) ends the box too, so the program does not live on behind it.
TEST_F(MainDialogConduct, AboutBoxIsModalOverTheMainDialogAndEndsWithIt) {
    static HWND main, about, aboutOwner;
    static BOOL mainEnabledMeanwhile;
    static POINT aboutCentre;
    main = hwnd_;
    about = aboutOwner = nullptr;
    mainEnabledMeanwhile = TRUE;
    const POINT mainCentre = CentreOf(hwnd_);
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        about = FindWindowW(L"#32770", L"About tarnwick");
        if (about) {
            aboutOwner = GetWindow(about, GW_OWNER);
            aboutCentre = CentreOf(about);
        }
        mainEnabledMeanwhile = IsWindowEnabled(main);
        SendMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    // Cancels a box left open behind the closed main dialog, so that the test fails, not hangs.
    static bool boxOutlivedTheClose;
    boxOutlivedTheClose = false;
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND box = FindWindowW(L"#32770", L"About tarnwick")) {
            boxOutlivedTheClose = true;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    });
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0x10, 0);  // returns when the box has ended
    KillTimer(nullptr, timer);
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(boxOutlivedTheClose) << "the About box outlived the main dialog's close";
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(aboutOwner, hwnd_);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_NEAR(aboutCentre.x, mainCentre.x, 1);
    EXPECT_NEAR(aboutCentre.y, mainCentre.y, 1);
    EXPECT_TRUE(dlg_.IsEnded());
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(hwnd_));
}

}  // namespace
