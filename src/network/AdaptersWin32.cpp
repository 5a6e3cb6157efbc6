// The enumeration of the workstation's network adapters and the seam that replaces it in tests.
#include "network/AdaptersWin32.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <memory>
#include <new>

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

bool RefreshAdapterListFromWorkstation(ListTable& adapterList) {
    PlatformAdapterSource platform;
    return RefreshAdapterList(testAdapterSource ? *testAdapterSource : platform, adapterList);
}
