#include "supervision/ProgramControlEvents.h"

#include "resource.h"
#include <vector>

#include "common/ProgramControl.h"
#include "supervision/Search.h"
#include "supervision/SearchState.h"

namespace {

struct ControlHint {
    long id;
    const wchar_t* text;
};

const ControlHint controlHints[] = {
    {IDC_STATIC_QEL1, L"If LED is green, click to open a web browser for QEL 1. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL2, L"If LED is green, click to open a web browser for QEL 2. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL3, L"If LED is green, click to open a web browser for QEL 3. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL4, L"If LED is green, click to open a web browser for QEL 4. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL5, L"If LED is green, click to open a web browser for QEL 5. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL6, L"If LED is green, click to open a web browser for QEL 6. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL7, L"If LED is green, click to open a web browser for QEL 7. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL8, L"If LED is green, click to open a web browser for QEL 8. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL9, L"If LED is green, click to open a web browser for QEL 9. Right-click for restart, stop and log."},
    {IDC_STATIC_QEL10, L"If LED is green, click to open a web browser for QEL 10. Right-click for restart, stop and log."},
    {IDC_STATIC_SEARCH_LED, L"If LED is flashing green, searching for connected QEL devices."},
    {IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS, L"Click to search for connected Ethernet network adapters."},
    {IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER, L"Click to close the selected Ethernet network adapter connection."},
    {IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES, L"Click to start/stop searching for connected QEL devices."},
    {IDC_LIST_ETHERNET_NETWORK_ADAPTERS, L"Double-click to select an Ethernet network adapter."},
    {IDC_LIST_QEL_CONFIGURATION_DATA, L"Double-click columns to change Ethernet Adapter or Startup File."},
};

const wchar_t* const hoverHints[4] = {
    L"Click to exit.",
    L"Click to minimize dialog.",
    L"Click to drag the dialog, double-click to flip the dialog.",
    L"Click to drag the dialog.",
};

constexpr unsigned pcSelectInstanceRow = 50;  // argument: row below 10

bool IsInstance(long i) { return i >= 0 && i < maxInstances; }

void ChooseHint(ProgramControlHost& host, long controlId) {
    std::wstring& hint = host.HintText();
    const wchar_t* text = HintTextFor(controlId, host.MouseOverArea());
    const std::wstring chosen = text ? text : L"";
    if (hint == chosen) return;
    hint = chosen;
    host.InvalidateHintLine();
}

void StartRequest(ProgramControlHost& host, int i) {
    const unsigned askingSearch = searchesBegun_g;
    if (host.StartBackend(i)) {
        lastStartedInstance_g = i;
        ReportBackendStarted(host.BackendProcess(i));
        return;
    }
    // A refusal's box runs a message loop: the search that asked for this start may have
    // ended in it and a new one begun (Ctrl + the button). The refusal is then that ended
    // search's alone: its box has said why, and the new search is none of its business.
    if (searchesBegun_g != askingSearch) return;
    // The monitor of this instance has nothing to watch; the worker ends at once.
    ReportStartFailed();
    host.WaitForWorkerEnd();
    // The search is over: undo what belongs to a running search, as its end would.
    findQelDevThreadRunning_g = false;
    stopFindQelDevThread_g = false;
    host.EnableCloseAdapterButton(true);
    host.PostProgramControl(pcCreateFailed, i);
}

// Close requests made while a search ran are acted on when it ends; a search that ended by a
// failed start has no end message, so its failure report acts on them. Returns true when
// the dialog was closed.
bool ActOnCloseRequests(ProgramControlHost& host, bool searchAgain) {
    if (closeAppAfterThreadExit_g.exchange(false)) {
        // The dialog's close closes every backend first.
        host.SendCloseCommand();
        // The dialog is closed: no new search, whatever else was asked for.
        return true;
    }
    if (closeRunningProcesses_g.exchange(false)) {
        CloseEveryBackend(host);
        if (searchAgain) host.StartFindQelDevThread();
    }
    return false;
}

void EndOfSearch(ProgramControlHost& host) {
    host.WaitForWorkerEnd();
    for (int row = 0; row < maxInstances; ++row) host.InstanceList().SetRowSelected(row, false);

    // A monitor left watching by a plain stop reports by itself, even a failure that came
    // after the worker ended: its flags are not this search's to judge.
    const bool monitorDone = hLingeringStatusThread_g.load() == nullptr;
    if (monitorDone && (processStartupFailure_g.load() || qelDiscoveryFailure_g.load())) {
        // The instance in flight: in a search the last row started (currentInstance - 1),
        // in a restart the restarted row, which may lie below it and then keeps the count.
        int& current = host.CurrentInstance();
        const int k = lastStartedInstance_g >= 0 ? lastStartedInstance_g : current - 1;
        std::wstring text = StartupFailureBoxText(k + 1);
        if (k >= 0) {
            if (k == current - 1) --current;
            ShowInstanceDown(host, k);
            TerminateBackend(host, k);
        }
        text += host.ReadLogFile();
        const std::wstring caption = errorMessage_g;
        host.ShowErrorBox(text, caption);
    }

    findQelDevThreadRunning_g = false;
    stopFindQelDevThread_g = false;
    host.SetSearchLedColor(ledOff);
    host.EnableCloseAdapterButton(true);

    ActOnCloseRequests(host, true);
}

void SearchLedEvent(ProgramControlHost& host, long argument) {
    if (argument == pcSearchLedGreen) {
        host.SetSearchLedColor(ledGreen);
    } else if (argument == pcSearchLedBlink) {
        host.SetSearchLedColor(BlinkStep(host.SearchLedBlink(), ledGreen));
    } else if (argument >= pcInstanceLedBlinkBase && argument < pcInstanceLedBlinkBase + maxInstances) {
        const int i = static_cast<int>(argument - pcInstanceLedBlinkBase);
        host.SetInstanceLedColor(i, BlinkStep(host.InstanceLedBlink(i), ledYellow));
    } else if (argument == pcSearchEnded) {
        EndOfSearch(host);
    }
}

void InstanceEvent(ProgramControlHost& host, int i, long argument) {
    if (argument == pcStartRequest) {
        StartRequest(host, i);
    } else if (argument == pcInstanceFailed) {
        host.SetInstanceLedColor(i, ledOff);
    } else if (argument == pcInstanceStarted) {
        host.InstanceList().SetCell(i, colActive, L"Yes");
        host.SetInstanceLedColor(i, ledGreen);
        WatchBackend(host, i);
    }
}

}  // namespace

const wchar_t* HintTextFor(long controlId, const bool mouseOverArea[4]) {
    for (const ControlHint& hint : controlHints)
        if (hint.id == controlId) return hint.text;
    for (int area = 0; area < 4; ++area)
        if (mouseOverArea[area]) return hoverHints[area];
    return nullptr;
}

int BlinkStep(bool& phase, int onColour) {
    const int colour = phase ? onColour : ledOff;
    phase = !phase;
    return colour;
}

std::wstring StartupFailureBoxText(int instanceNumber) {
    return L"Process dravik.exe for QEL " + std::to_wstring(instanceNumber) +
           L" failed to start up correctly and will be closed" + logTailSeparator;
}

long HandleProgramControl(ProgramControlHost& host, unsigned long code, long argument) {
    if (code == pcHintRequest) {
        ChooseHint(host, argument);
    } else if (code == pcBrowserOpened) {
        if (IsInstance(argument)) host.SetInstanceLedColor(static_cast<int>(argument), ledAmber);
    } else if (code == pcSearchLed) {
        SearchLedEvent(host, argument);
    } else if (code == pcSelectInstanceRow) {
        if (IsInstance(argument)) host.FocusInstanceRow(static_cast<int>(argument));
    } else if (code == pcPipeFailed || code == pcCreateFailed) {
        if (!IsInstance(argument)) return 0;
        host.SetInstanceLedColor(static_cast<int>(argument), ledRed);
        host.SetSearchLedColor(ledOff);
        if (code == pcPipeFailed) {
            host.ShowErrorBox(L"Internal Error", L"Process startup issue");
        } else {
            // The system's reason on a line of its own, so that the box explains itself.
            const std::wstring reason = host.ProcessCreationReason();
            host.ShowErrorBox(L"Failed to create process for dravik.exe" + (reason.empty() ? L"" : L"\n" + reason),
                              L"Process creation");
            // The same row would fail again: close as asked, but do not search again.
            ActOnCloseRequests(host, false);
        }
    } else if (code == pcBackendExited) {
        if (IsInstance(argument)) ReportBackendExit(host, static_cast<int>(argument));
    } else if (code >= pcInstanceBase && code < pcInstanceBase + maxInstances) {
        InstanceEvent(host, static_cast<int>(code - pcInstanceBase), argument);
    } else if (code == pcStartUp) {
        host.GetEthernetNetworkAdapters();
        host.ConfigureDialogWindow();
    } else if (code == pcUnattendedSearch) {
        // As if the button had been pressed, once the window is idle and can take it: no
        // search running, no box open, a configuration read. Otherwise nothing changes.
        if (!findQelDevThreadRunning_g.load() && host.CanStartSearch()) {
            closeRunningProcesses_g = false;
            host.StartFindQelDevThread();
        }
    }
    return 0;
}

void HandleFindAndConfigureButton(ProgramControlHost& host) {
    const bool ctrl = host.CtrlKeyDown();
    const bool running = findQelDevThreadRunning_g.load();
    if (!ctrl && !running) {
        // Cleared before the worker exists, so that it never sees a stale close request.
        closeRunningProcesses_g = false;
        host.StartFindQelDevThread();
    } else if (!ctrl && running) {
        RequestSearchStop();
    } else if (ctrl && running) {
        RequestSearchStopAndCloseAll();
    } else {
        closeRunningProcesses_g = true;
        CloseEveryBackend(host);
    }
}

void TerminateBackend(ProgramControlHost& host, int instance) {
    StopWatchingBackend(host, instance);  // the program's own termination is no exit to report
    if (host.BackendProcess(instance)) {
        host.TerminateBackendProcess(instance, 0xFFFFFFFFul);
        host.WaitForBackendsToEnd({instance}, 10000);
    }
    host.ForgetBackendProcess(instance);
}

void ShowInstanceDown(ProgramControlHost& host, int instance) {
    host.InstanceList().SetCell(instance, colActive, L"No");
    host.SetInstanceLedColor(instance, ledOff);
}

void CloseProgramBackends(ProgramControlHost& host) {
    std::vector<int> ending;
    for (int i = 0; i < maxInstances; ++i) {
        StopWatchingBackend(host, i);  // the program's own termination is no exit to report
        ShowInstanceDown(host, i);
        if (!host.BackendProcess(i)) continue;
        host.TerminateBackendProcess(i, 1);
        ending.push_back(i);
    }
    // Termination is asynchronous; the processes normally end within milliseconds.
    host.WaitForBackendsToEnd(ending, 1000);
    for (int i : ending) {
        // A monitor may still name it; it must not look at a closed handle.
        void* named = host.BackendProcess(i);
        currentProcessStartup_g.compare_exchange_strong(named, nullptr);
        host.ForgetBackendProcess(i);
    }
    // No instance has a backend now: the next search starts from the first row. (A stop or
    // a failed restart from an LED's menu leaves rows without a backend below
    // currentInstance, so counting down by the records closed would not bring it to 0.)
    host.CurrentInstance() = 0;
}

void CloseEveryBackend(ProgramControlHost& host) {
    // A monitor left watching by a plain stop gives up and is waited for: it must not report
    // a backend closed under it as started, nor outlive the dialog.
    RequestMonitorStop();
    if (void* monitor = hLingeringStatusThread_g.exchange(nullptr)) host.WaitForThreadEndAndClose(monitor);
    host.CloseAllOpenProcesses();
    host.FindAndCloseRunningProcesses();
}
