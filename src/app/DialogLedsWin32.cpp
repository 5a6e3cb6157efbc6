// Instance LEDs and the browser launch.
#include "app/CtarnwickDlgWin32.h"

#include <vector>

#include "common/ProgramControl.h"
#include "supervision/Browser.h"
#include "supervision/BrowserLaunchWin32.h"
#include "supervision/SearchState.h"
#include "supervision/ThreadRecords.h"
#include "win32/MessageBox.h"
#include "win32/Threads.h"

void CtarnwickDlg::SetLedColor(PictureStatic& led, int colour) {
    const RECT rect = led.GetRectInParent();
    led.SetRedraw(false);
    const HBITMAP images[6] = {ledOffBitmap.get(), ledGreenBitmap.get(), ledRedBitmap.get(),
                               ledYellowBitmap.get(), ledBlueBitmap.get(), ledAmberBitmap.get()};
    if (colour >= 0 && colour < 6) led.SetBitmap(images[colour]);
    led.SetRedraw(true);
    led.MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    led.Invalidate(TRUE);
}

void CtarnwickDlg::OnStnClickedStaticQel1() { OpenWebBrowser(0); }
void CtarnwickDlg::OnStnClickedStaticQel2() { OpenWebBrowser(1); }
void CtarnwickDlg::OnStnClickedStaticQel3() { OpenWebBrowser(2); }
void CtarnwickDlg::OnStnClickedStaticQel4() { OpenWebBrowser(3); }
void CtarnwickDlg::OnStnClickedStaticQel5() { OpenWebBrowser(4); }
void CtarnwickDlg::OnStnClickedStaticQel6() { OpenWebBrowser(5); }
void CtarnwickDlg::OnStnClickedStaticQel7() { OpenWebBrowser(6); }
void CtarnwickDlg::OnStnClickedStaticQel8() { OpenWebBrowser(7); }
void CtarnwickDlg::OnStnClickedStaticQel9() { OpenWebBrowser(8); }
void CtarnwickDlg::OnStnClickedStaticQel10() { OpenWebBrowser(9); }

void CtarnwickDlg::OpenWebBrowser(int instance) {
    if (ReportsNoBrowser(instanceList, instance, browserCombo.GetCount())) {
        ShowMessageBox(hwnd_, NoBrowserBox::caption, NoBrowserBox::text, BoxKind::warning);
        return;
    }
    int selection = browserCombo.GetCurSel();
    if (selection < 0) {
        // The chooser is editable: a browser typed into it counts once it names an entry.
        std::vector<std::wstring> entries;
        for (int i = 0; i < browserCombo.GetCount(); ++i) entries.push_back(browserCombo.GetLBText(i));
        selection = BrowserEntryNamedBy(entries, browserCombo.GetWindowText());
        if (selection >= 0) browserCombo.SetCurSel(selection);
    }
    if (ReportsNoBrowserChosen(instanceList, instance, browserCombo.GetCount(), selection)) {
        ShowMessageBox(hwnd_, NoBrowserChosenBox::caption, NoBrowserChosenBox::text, BoxKind::warning);
        return;
    }
    if (selection < 0) return;
    const std::wstring commandLine =
        BrowserCommandLine(instanceList, instance, browserCombo.GetLBText(selection), {chromePath, edgePath, firefoxPath});
    if (commandLine.empty()) return;

    auto* record = new THREADINFOSTRUCT;
    record->hWnd = hwnd_;
    record->commandLine = commandLine;
    record->creationFlags = CREATE_NEW_CONSOLE;
    record->instance = instance;

    UniqueHandle handle = StartNamedThread(L"browser launch", LaunchWebBrowserThread, record, [&](NamedThread* thread) {
        threadLaunchWebBrowser_gp = thread;
        record->thread = thread;
    });
    if (!handle) {
        delete record;
        return;
    }
    // Only the latest browser thread is remembered; nobody waits for it.
    UniqueHandle previous(hThreadLaunchWebBrowser_g.exchange(handle.release()));
}
