// The search: button 1003 and the start of the discovery and configuration worker.
#include "app/CtarnwickDlgWin32.h"
#include "supervision/SearchState.h"
#include "supervision/ProgramControlHostWin32.h"
#include "supervision/Search.h"
#include "supervision/SearchPlatformWin32.h"
#include "supervision/SearchWin32.h"
#include "supervision/ThreadStartWin32.h"

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
    SearchPlatform& platform = Win32SearchPlatform();
    BeginSearchFlags(platform);

    auto* record = new THREADINFOSTRUCT;
    record->hWnd = dialog.GetSafeHwnd();
    record->stopFlag = &stopFindQelDevThread_g;
    record->firstInstance = firstInstance;
    record->endInstance = endInstance;
    record->rowCount = dialog.instanceList.RowCount();
    record->platform = &platform;

    SelfDeletingThread* thread = SelfDeletingThread::CreateSuspended(FindAndConfigureQelDevicesThread, record);
    HANDLE handle = thread ? thread->DuplicateThreadHandle() : nullptr;
    if (!handle) {
        if (thread) thread->Abandon();
        delete record;
        findQelDevThreadRunning_g = false;
        MessageBoxW(dialog.GetSafeHwnd(), L"Internal Error", L"Process startup issue", MB_ICONERROR | MB_OK);
        return false;
    }
    // The previous worker has ended; its handle is no longer needed.
    if (HANDLE previous = hThreadFindAndConfigureQelDevice_g.exchange(handle)) CloseHandle(previous);
    threadFindAndConfigureQelDevice_gp = thread;
    record->thread = thread;
    thread->Resume();

    dialog.closeAdapterButton.EnableWindow(false);
    return true;
}

bool StartSearchWorker(CtarnwickDlg& dialog) { return StartSearchWorker(dialog, dialog.currentInstance, maxInstances); }
