// The platform's adapter enumeration, and a seam for tests that need known adapters.
#pragma once

#include "network/Adapters.h"

// GetAdaptersAddresses (all address families, with prefixes) into a buffer of the
// requested size; a buffer that the call did not fill is never read.
class PlatformAdapterSource : public AdapterSource {
public:
    AdapterQueryResult Query(unsigned long& size, std::vector<AdapterRecord>& adapters) override;
};

// Replaces the platform's enumeration for the dialog's refresh; null puts it back.
void SetAdapterSourceForTesting(AdapterSource* source);

// Refills the adapter list from the workstation's adapters (or from the test's source);
// false when the enumeration failed.
bool RefreshAdapterListFromWorkstation(ListTable& adapterList);
