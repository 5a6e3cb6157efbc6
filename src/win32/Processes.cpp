#include "win32/Processes.h"

#include <psapi.h>

#include <algorithm>

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

bool WaitForProcessesToEnd(const std::vector<HANDLE>& processes, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    const auto left = [&] {
        const ULONGLONG now = GetTickCount64();
        return now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    };
    bool allEnded = true;
    for (size_t first = 0; first < processes.size(); first += MAXIMUM_WAIT_OBJECTS) {
        const DWORD count = static_cast<DWORD>(std::min<size_t>(MAXIMUM_WAIT_OBJECTS, processes.size() - first));
        const DWORD result = WaitForMultipleObjects(count, processes.data() + first, TRUE, left());
        if (result < WAIT_OBJECT_0 + count) continue;  // all of them signalled
        allEnded = false;
        if (result != WAIT_FAILED) continue;  // the time is up
        // A handle without the right to wait on it fails the whole call at once: wait for
        // the others one by one, so that it costs them nothing.
        for (DWORD k = 0; k < count; ++k) WaitForSingleObject(processes[first + k], left());
    }
    return allEnded;
}
