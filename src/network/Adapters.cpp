#include "network/Adapters.h"

#include <algorithm>

std::wstring FormatMacAddress(const unsigned char (&bytes)[8], unsigned length) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (unsigned i = 0; i < 6; ++i) {
        const unsigned char b = i < length ? bytes[i] : 0;
        if (i > 0) text += L'-';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

bool RefreshAdapterList(AdapterSource& source, ListTable& adapters) {
    std::vector<AdapterRecord> records;
    unsigned long size = adapterBufferStart;
    AdapterQueryResult result;
    for (;;) {
        result = source.Query(size, records);
        if (result != AdapterQueryResult::bufferOverflow) break;
        size += adapterBufferStep;
        if (size > adapterBufferLimit) return false;
    }
    if (result != AdapterQueryResult::success) records.clear();
    FillAdapterList(adapters, records);
    return true;
}

void FillAdapterList(ListTable& adapters, const std::vector<AdapterRecord>& records) {
    adapters.DeleteAllRows();
    for (const AdapterRecord& record : records) {
        if (record.interfaceType != ethernetInterfaceType) continue;
        adapters.InsertRow(0, record.description);
        adapters.SetCell(0, colName, record.friendlyName);
        adapters.SetCell(0, colMac, FormatMacAddress(record.physicalAddress, record.physicalAddressLength));
    }
}

int FindAdapterRowByMac(const ListTable& adapters, const std::wstring& selectedMacAddress) {
    if (selectedMacAddress.empty()) return -1;
    for (int row = 0; row < adapters.RowCount(); ++row)
        if (adapters.Cell(row, colMac) == selectedMacAddress) return row;
    return -1;
}

void RestoreInstanceAdapters(ListTable& adapters, ListTable& instances, const std::vector<std::wstring>& instanceAdapterNames) {
    const int rows = std::min({instances.RowCount(), maxInstances, static_cast<int>(instanceAdapterNames.size())});
    for (int r = 0; r < rows; ++r) {
        const std::wstring& remembered = instanceAdapterNames[r];
        // An instance that remembers no adapter must not claim an adapter without a name.
        if (remembered.empty()) continue;
        for (int j = 0; j < adapters.RowCount(); ++j) {
            if (adapters.Cell(j, colName) != remembered) continue;
            instances.SetCell(r, colEthernetAdapter, remembered);
            adapters.SetCell(j, colSelected, L"Yes");
            break;
        }
    }
}
