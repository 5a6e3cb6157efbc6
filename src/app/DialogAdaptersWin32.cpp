// The adapter list of the dialog: its refresh from the workstation's Ethernet adapters and
// the restore of the remembered choices.
#include "app/CtarnwickDlgWin32.h"
#include "network/AdaptersWin32.h"
#include "win32/MessageBox.h"
#include "win32/StartupTimeline.h"

void CtarnwickDlg::GetEthernetNetworkAdapters() {
    if (!RefreshAdapterListFromWorkstation(adapterList)) {
        ShowMessageBox(hwnd_, L"Ethernet Network Adapters", L"Unable to allocate memory for IP_ADAPTER_ADDRESSES.",
                       BoxKind::error);
        return;
    }
    FindLastSelectedNetworkDevice();
    MarkStartupPhase(StartupPhase::adapters);
}

void CtarnwickDlg::FindLastSelectedNetworkDevice() {
    const int row = FindAdapterRowByMac(adapterList, selectedMacAddress);
    if (row >= 0) {
        adapterList.SetFocus();
        adapterList.SetRowSelected(row, true);
        adapterList.EnsureVisible(row);  // entirely visible, not just partly
    }
    RestoreInstanceAdapters(adapterList, instanceList, instanceAdapterNames);
}

void CtarnwickDlg::OnBnClickedButtonFindEthernetNetworkAdapters() {
    GetEthernetNetworkAdapters();
    ConfigureDialogWindow();
}

// An adapter is chosen by selecting its row; a double-click does nothing more.
void CtarnwickDlg::OnNMDblclkListEthernetNetworkAdapters(NMHDR*, LRESULT* result) { *result = 0; }

// The button stays hidden for the whole run; its click does nothing.
void CtarnwickDlg::OnClickedButtonCloseSelectedEthernetNetworkAdapter() {}
