// The adapter list: enumeration of the workstation's Ethernet adapters and the restore of
// the remembered choices.
#include "network/AdaptersWin32.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <memory>
#include <new>

#include "app/CtarnwickDlgWin32.h"
#include "win32/MessageBox.h"
#include "win32/StartupTimeline.h"

namespace {

AdapterSource* testAdapterSource = nullptr;

}  // namespace

void SetAdapterSourceForTesting(AdapterSource* source) { testAdapterSource = source; }

AdapterQueryResult PlatformAdapterSource::Query(unsigned long& size, std::vector<AdapterRecord>& adapters) {
    // Plain new gives the alignment that IP_ADAPTER_ADDRESSES needs.
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
    if (!buffer) return AdapterQueryResult::failure;
    ULONG length = size;
    auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get());
    const ULONG rc = GetAdaptersAddresses(AF_UNSPEC, GAA_FLAG_INCLUDE_PREFIX, nullptr, first, &length);
    if (rc == ERROR_BUFFER_OVERFLOW) {
        size = length;
        return AdapterQueryResult::bufferOverflow;
    }
    if (rc != NO_ERROR) return AdapterQueryResult::failure;
    for (const IP_ADAPTER_ADDRESSES* entry = first; entry != nullptr; entry = entry->Next) {
        AdapterRecord record;
        record.interfaceType = entry->IfType;
        record.physicalAddressLength = entry->PhysicalAddressLength;
        for (unsigned i = 0; i < sizeof record.physicalAddress && i < entry->PhysicalAddressLength; ++i)
            record.physicalAddress[i] = entry->PhysicalAddress[i];
        if (entry->FriendlyName) record.friendlyName = entry->FriendlyName;
        if (entry->Description) record.description = entry->Description;
        adapters.push_back(std::move(record));
    }
    return AdapterQueryResult::success;
}

void CtarnwickDlg::GetEthernetNetworkAdapters() {
    PlatformAdapterSource platform;
    AdapterSource& source = testAdapterSource ? *testAdapterSource : platform;
    if (!RefreshAdapterList(source, adapterList)) {
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
