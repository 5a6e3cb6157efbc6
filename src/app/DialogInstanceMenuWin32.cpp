// The menu on each instance LED: restart or stop that one instance, open its web page or
// its log. What each item does, and when it is offered, is supervision/InstanceRecovery's.
#include <windows.h>
#include <shellapi.h>

#include "app/CtarnwickDlgWin32.h"
#include "supervision/InstanceRecovery.h"
#include "supervision/LaunchPlan.h"
#include "app/DialogProgramControlHostWin32.h"
#include "supervision/SearchState.h"
#include "win32/Files.h"
#include "win32/MessageBox.h"

namespace {

int InstanceOfLed(CtarnwickDlg& dialog, HWND window) {
    for (int k = 0; k < maxInstances; ++k)
        if (window && dialog.instanceLed[k].GetSafeHwnd() == window) return k;
    return -1;
}

}  // namespace

void CtarnwickDlg::OnContextMenu(HWND window, POINT point) {
    const int k = InstanceOfLed(*this, window);
    if (k < 0) return;
    DialogProgramControlHost host(*this);
    InstanceFacts facts;
    facts.searchRunning = findQelDevThreadRunning_g.load();
    facts.backendRunning = BackendRunning(host, k);
    facts.active = instanceList.Cell(k, colActive) == L"Yes";
    facts.logExists = FileExists(InstanceLogFilePath(k));
    facts.startable = k <= currentInstance;
    const InstanceMenuState state = InstanceMenuFor(facts);

    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const auto add = [&](unsigned id, const std::wstring& text, bool enabled) {
        AppendMenuW(menu.get(), MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text.c_str());
    };
    add(menuRestart, RestartItemText(k + 1), state.restart);
    add(menuStop, StopItemText(k + 1), state.stop);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    add(menuOpenWebPage, openWebPageItemText, state.openWebPage);
    add(menuOpenLogFile, openLogFileItemText, state.openLogFile);
    if (point.x == -1 && point.y == -1) {  // asked for from the keyboard: below the LED
        const RECT led = instanceLed[k].GetRectInParent();
        point = {led.left, led.bottom};
        ClientToScreen(hwnd_, &point);
    }
    const unsigned command = static_cast<unsigned>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, hwnd_, nullptr));
    RunInstanceCommand(k, command);
}

void CtarnwickDlg::RunInstanceCommand(int instance, unsigned command) {
    DialogProgramControlHost host(*this);
    if (command == menuRestart) RestartInstance(host, instance);
    else if (command == menuStop) StopInstance(host, instance);
    else if (command == menuOpenWebPage) OpenWebBrowser(instance);
    else if (command == menuOpenLogFile) OpenLogFile(instance);
}

std::wstring CtarnwickDlg::InstanceLogFilePath(int instance) {
    if (fileSystemFoldersPath.empty()) GetFileSystemFolderPath();
    return InstanceLogFile(InstanceFolder(exeDrive, fileSystemFoldersPath, instanceList.Cell(instance, colFsName)));
}

void CtarnwickDlg::OpenLogFile(int instance) {
    const std::wstring path = InstanceLogFilePath(instance);
    if (!FileExists(path)) {
        ShowMessageBox(hwnd_, logFileCaption, NoLogFileBoxText(instance + 1, path), BoxKind::warning);
        return;
    }
    // Opened as a text file, whatever ".log" is associated with: by the viewer the user
    // chose for ".txt" files, else by the system's own text file class.
    for (const wchar_t* textClass : {L".txt", L"txtfile"}) {
        SHELLEXECUTEINFOW open{};
        open.cbSize = sizeof open;
        open.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
        open.hwnd = hwnd_;
        open.lpVerb = L"open";
        open.lpFile = path.c_str();
        open.lpClass = textClass;
        open.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExW(&open)) return;
    }
    ShowMessageBox(hwnd_, logFileCaption, L"\"" + path + L"\" cannot be opened: no program is set to open text files.",
                   BoxKind::warning);
}
