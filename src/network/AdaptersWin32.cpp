// The adapter list: enumeration of the workstation's Ethernet adapters and the restore of
// the remembered choices.
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::GetEthernetNetworkAdapters() {}

void CtarnwickDlg::FindLastSelectedNetworkDevice() {}

void CtarnwickDlg::OnBnClickedButtonFindEthernetNetworkAdapters() {
    GetEthernetNetworkAdapters();
    ConfigureDialogWindow();
}

void CtarnwickDlg::OnNMDblclkListEthernetNetworkAdapters(NMHDR*, LRESULT* result) { *result = 0; }

// The button stays hidden for the whole run; its click does nothing.
void CtarnwickDlg::OnClickedButtonCloseSelectedEthernetNetworkAdapter() {}
