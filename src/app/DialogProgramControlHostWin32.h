// The main dialog as the program-control decisions see it.
#pragma once

#include "app/CtarnwickDlgWin32.h"
#include "supervision/ProgramControlEvents.h"

class DialogProgramControlHost : public ProgramControlHost {
public:
    explicit DialogProgramControlHost(CtarnwickDlg& dialog) : d_(dialog) {}

    std::wstring& HintText() override { return d_.hintText; }
    const bool* MouseOverArea() override { return d_.mouseOverArea; }
    bool& SearchLedBlink() override { return d_.searchLedBlink; }
    bool& InstanceLedBlink(int instance) override { return d_.instanceLedBlink[instance]; }
    int& CurrentInstance() override { return d_.currentInstance; }
    bool CtrlKeyDown() override { return d_.ctrlKeyDown; }
    ListTable& InstanceList() override { return d_.instanceList; }

    void SetInstanceLedColor(int instance, int colour) override { d_.SetLedColor(d_.instanceLed[instance], colour); }
    void SetSearchLedColor(int colour) override { d_.SetLedColor(d_.searchLed, colour); }
    void InvalidateHintLine() override { d_.InvalidateHintLine(); }
    void FocusInstanceRow(int row) override;
    void EnableCloseAdapterButton(bool enable) override { d_.closeAdapterButton.EnableWindow(enable); }
    void ShowErrorBox(const std::wstring& text, const std::wstring& caption) override;
    void PostProgramControl(unsigned code, long argument) override;
    void SendCloseCommand() override;

    int StartBackend(int instance) override { return d_.StartInstanceProcess(instance); }
    std::wstring ProcessCreationReason() override { return d_.processCreationReason; }
    void* BackendProcess(int instance) override { return d_.processInfo[instance].hProcess; }
    void TerminateBackendProcess(int instance, unsigned long exitCode) override;
    void WaitForBackendsToEnd(const std::vector<int>& instances, unsigned long milliseconds) override;
    void ForgetBackendProcess(int instance) override { d_.processInfo[instance].Close(); }
    std::wstring ReadLogFile() override;
    void CloseAllOpenProcesses() override { d_.CloseAllOpenProcesses(); }
    void FindAndCloseRunningProcesses() override { d_.FindAndCloseRunningProcesses(); }
    void StartFindQelDevThread() override { d_.StartFindQelDevThread(); }
    void StartOneInstanceSearch(int instance) override { d_.StartOneInstanceSearch(instance); }
    void WaitForWorkerEnd() override;
    void WaitForThreadEndAndClose(void* thread) override;

    BackendWatch& Watch() override { return d_.backendWatch; }
    bool WaitForBackendExit(int instance, std::wstring& reason) override;
    void StopWaitingForBackendExit(int instance) override { d_.backendExitWatcher.Unwatch(instance); }
    bool BackendHasEnded(int instance, unsigned long& exitCode) override;
    std::wstring ReadLogTail(const std::wstring& logFile) override;

    bool CanStartSearch() override {
        return d_.findAndConfigureButton.IsWindowEnabled() && IsWindowEnabled(d_.GetSafeHwnd());
    }
    void GetEthernetNetworkAdapters() override { d_.GetEthernetNetworkAdapters(); }
    void ConfigureDialogWindow() override { d_.ConfigureDialogWindow(); }

private:
    CtarnwickDlg& d_;
};
