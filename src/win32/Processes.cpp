#include "win32/Processes.h"

#include <psapi.h>

std::vector<DWORD> EnumerateProcessIds() {
    // A busy workstation has more than 512 processes: grow until the table is not full.
    std::vector<DWORD> ids(512);
    for (;;) {
        DWORD bytes = 0;
        if (!K32EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return {};
        const size_t count = bytes / sizeof(DWORD);
        if (count < ids.size()) {
            ids.resize(count);
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

std::string ProcessBaseName(HANDLE process) {
    char name[260] = {};
    const DWORD length = K32GetModuleBaseNameA(process, nullptr, name, sizeof name);
    if (length == 0 || length >= sizeof name) return {};
    return std::string(name, length);
}
