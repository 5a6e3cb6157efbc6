// The adapter list: the workstation's Ethernet adapters, one row each, and the restore of
// the adapter choices remembered from the previous run.
#pragma once

#include <string>
#include <vector>

#include "common/ListTable.h"

// What the enumeration uses of one adapter the platform reports.
struct AdapterRecord {
    unsigned long interfaceType = 0;
    unsigned char physicalAddress[8] = {};
    unsigned physicalAddressLength = 0;
    std::wstring friendlyName;
    std::wstring description;
};

// Interface type of an Ethernet adapter; every other type (wireless, loopback, tunnel) is skipped.
constexpr unsigned long ethernetInterfaceType = 6;

// The MAC text of the first six address bytes, "00-1A-2B-3C-4D-5E". Bytes beyond the
// reported length read as 0, so a short address never shows stale buffer contents.
std::wstring FormatMacAddress(const unsigned char (&bytes)[8], unsigned length);

// One attempt of the platform's enumeration with a buffer of `size` bytes.
enum class AdapterQueryResult { success, bufferOverflow, failure };
class AdapterSource {
public:
    virtual ~AdapterSource() = default;
    // On bufferOverflow the source may write the size it needs into `size`. On success it
    // fills `adapters` in the platform's order; otherwise it leaves them alone.
    virtual AdapterQueryResult Query(unsigned long& size, std::vector<AdapterRecord>& adapters) = 0;
};

// The buffer starts at 10000 bytes and grows by 10000 over the size the platform asked for
// while the platform reports an overflow and the size stays within 100000 bytes.
constexpr unsigned long adapterBufferStart = 10000;
constexpr unsigned long adapterBufferStep = 10000;
constexpr unsigned long adapterBufferLimit = 100000;

// Rebuilds the adapter list from the source. Returns false, leaving the list as it was,
// when the platform still wants a larger buffer than the limit; every other failure leaves
// the list empty and counts as done.
bool RefreshAdapterList(AdapterSource& source, ListTable& adapters);

// Rows for the Ethernet adapters of `records`; each is inserted at the top, so the list
// shows them in the reverse of the platform's order. The list is cleared first.
void FillAdapterList(ListTable& adapters, const std::vector<AdapterRecord>& records);

// The first adapter row whose MAC text equals `selectedMacAddress` exactly, or -1.
int FindAdapterRowByMac(const ListTable& adapters, const std::wstring& selectedMacAddress);

// Gives every instance row (at most the first ten) whose remembered adapter is in the list
// that adapter's name, and marks the adapter's row "Selected". Instances whose remembered
// adapter is absent, or who remember none, keep their cell.
void RestoreInstanceAdapters(ListTable& adapters, ListTable& instances, const std::vector<std::wstring>& instanceAdapterNames);
