// The search: the Find And Configure button and the start of the discovery and configuration worker.
#include "app/CtarnwickDlgWin32.h"
#include "app/DialogProgramControlHostWin32.h"
#include "app/DialogSearchWin32.h"
#include "supervision/Search.h"
#include "supervision/SearchPlatformWin32.h"
#include "supervision/SearchState.h"
#include "win32/MessageBox.h"
#include "win32/Threads.h"

void CtarnwickDlg::OnBnClickedButtonFindAndConfigureQelDevices() {
    DialogProgramControlHost host(*this);
    HandleFindAndConfigureButton(host);
}

void CtarnwickDlg::StartFindQelDevThread() {
    SetRegistryKeys();
    GetFileSystemFolderPath();
    StartSearchWorker(*this);
}

void CtarnwickDlg::StartOneInstanceSearch(int instance) {
    SetRegistryKeys();
    GetFileSystemFolderPath();
    StartSearchWorker(*this, instance, instance + 1);
}

bool StartSearchWorker(CtarnwickDlg& dialog, int firstInstance, int endInstance) {
    THREADINFOSTRUCT* record =
        BeginSearch(Win32SearchPlatform(), dialog.GetSafeHwnd(), firstInstance, endInstance, dialog.instanceList.RowCount());

    UniqueHandle handle = StartNamedThread(L"search worker", FindAndConfigureQelDevicesThread, record,
                                           [&](NamedThread* thread) {
                                               threadFindAndConfigureQelDevice_gp = thread;
                                               record->thread = thread;
                                           });
    if (!handle) {
        delete record;
        findQelDevThreadRunning_g = false;
        ShowMessageBox(dialog.GetSafeHwnd(), L"Process startup issue", L"Internal Error", BoxKind::error);
        return false;
    }
    // The previous worker has ended; its handle is no longer needed.
    UniqueHandle previous(hThreadFindAndConfigureQelDevice_g.exchange(handle.release()));

    dialog.closeAdapterButton.EnableWindow(false);
    return true;
}

bool StartSearchWorker(CtarnwickDlg& dialog) { return StartSearchWorker(dialog, dialog.currentInstance, maxInstances); }
