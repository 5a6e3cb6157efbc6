#include "BenchSupport.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "win32/Processes.h"

double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size())));
    return v[std::min(v.size(), std::max<size_t>(rank, 1)) - 1];
}

double Minimum(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

std::vector<DWORD> ProcessesNamed(const std::wstring& name) {
    std::vector<DWORD> found;
    for (DWORD pid : EnumerateProcessIds()) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) continue;
        wchar_t base[MAX_PATH] = {};
        const bool match = K32GetModuleBaseNameW(process, nullptr, base, MAX_PATH) && _wcsicmp(base, name.c_str()) == 0;
        CloseHandle(process);
        if (match) found.push_back(pid);
    }
    return found;
}

DWORD FindProcessByName(const std::wstring& name) {
    const std::vector<DWORD> pids = ProcessesNamed(name);
    return pids.empty() ? 0 : pids.front();
}

bool KillProcessesNamed(const std::wstring& name) {
    bool allTerminated = true;
    std::vector<HANDLE> ending;
    for (DWORD pid : ProcessesNamed(name)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (process && TerminateProcess(process, 1)) {
            ending.push_back(process);
            continue;
        }
        allTerminated = false;
        if (process) CloseHandle(process);
    }
    const bool allEnded = WaitForProcessesToEnd(ending, 10000);
    for (HANDLE process : ending) CloseHandle(process);
    return allTerminated && allEnded;
}

namespace {

struct WindowQuery {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* q = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == q->pid && IsWindowVisible(window)) q->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK ChildNeedsPaint(HWND child, LPARAM lParam) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    WindowQuery q{pid, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND FindProcessWindow(DWORD pid, int marker) {
    for (HWND window : VisibleWindowsOf(pid))
        if (!marker || GetDlgItem(window, marker)) return window;
    return nullptr;
}

bool IsPainted(HWND window) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) return false;
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(window, ChildNeedsPaint, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

int RemoteRowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return 0;
    return static_cast<int>(count);
}

// The item record and the text buffer live in the other process's memory for the call.
std::wstring RemoteListCell(HWND list, int row, int column) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return {};
    constexpr int textChars = 512;
    const SIZE_T size = sizeof(LVITEMW) + textChars * sizeof(wchar_t);
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    if (remote) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(LVITEMW));
        item.cchTextMax = textChars;
        wchar_t buffer[textChars] = {};
        DWORD_PTR length = 0;
        if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
            SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                                &length) &&
            ReadProcessMemory(process, remote + sizeof(LVITEMW), buffer, sizeof buffer, nullptr)) {
            buffer[textChars - 1] = L'\0';
            text = buffer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}
