// benchtool.exe: the measuring side of scripts/bench.sh and the soak, run under Wine next
// to the program. It prints numbers, one "name value" pair per line.
//
//   benchtool startup [--reps N] [--marker ID] EXE
//       starts EXE (in the current folder) N times (default 5); each time measures from
//       just before CreateProcessW until its window is visible and has no part left to
//       paint; prints each run and the median in milliseconds. The window is the
//       process's visible top-level window holding control ID (any window for 0, default).
//   benchtool idle [--seconds S] [--marker ID] EXE
//       starts EXE, waits for its painted window and 2 s more, then prints the CPU time
//       (user + kernel) it used over S seconds (default 60) and its share of one core.
//   benchtool diagnostics [NAME]
//       the leak-check figures of the running program NAME (default brisvale.exe), asked
//       for with the registered message "brisvale.diagnostics".
//   benchtool blit [--reps N] [--size WxH]
//       a plain BitBlt of a WxH memory bitmap onto a window, N times: the floor that a
//       repaint is set against.
//   benchtool repaint [--reps N]
//       invalidates the running program's main window with its children N times and
//       waits each time until nothing is left to paint; prints the median, and the
//       median of a plain BitBlt of the same size in this process.
//   benchtool bringup EXE
//       starts EXE, waits for its painted window and its adapter list, presses "Find And
//       Configure QEL Devices" (button 1003) and measures until the search has ended with
//       ten backends running (button 1016 enabled again, ten "dravik.exe" processes);
//       prints the time next to the protocol's floor of ten half-second waits. The
//       program stays running (the caller closes it).
//   benchtool first-adapter EXE
//       starts EXE, prints the "Name" of the first row of its adapter list, ends it.
//   benchtool wait-window [NAME]
//       waits (up to 30 s) until the running program shows its painted main window.
//   benchtool rescale N
//       scale mode on the running program's main window (Ctrl down posted), N wheel
//       notches alternately up and down over it, scale mode off (Ctrl up posted).
//   benchtool kill NAME...
//       terminates every process with one of these names and waits for their end.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: benchtool startup [--reps N] [--marker ID] EXE\n"
                 "       benchtool idle [--seconds S] [--marker ID] EXE\n"
                 "       benchtool diagnostics [NAME]\n"
                 "       benchtool blit [--reps N] [--size WxH]\n"
                 "       benchtool repaint [--reps N]\n"
                 "       benchtool bringup EXE\n"
                 "       benchtool first-adapter EXE\n"
                 "       benchtool wait-window [NAME]\n"
                 "       benchtool rescale N\n"
                 "       benchtool kill NAME...\n");
    return 2;
}

struct Options {
    int reps = 5;
    double seconds = 60;
    int marker = 0;
    int width = 1200, height = 700;
    std::vector<std::wstring> rest;
};

bool ParseOptions(int argc, wchar_t** argv, Options& o) {
    for (int i = 2; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == L"--reps" && hasValue) o.reps = std::max(1, _wtoi(argv[++i]));
        else if (a == L"--seconds" && hasValue) o.seconds = std::max(0.1, _wtof(argv[++i]));
        else if (a == L"--marker" && hasValue) o.marker = _wtoi(argv[++i]);
        else if (a == L"--size" && hasValue) {
            if (swscanf(argv[++i], L"%dx%d", &o.width, &o.height) != 2 || o.width <= 0 || o.height <= 0) return false;
        } else if (a.rfind(L"--", 0) == 0) return false;
        else o.rest.push_back(a);
    }
    return true;
}

// ---- windows of a process ---------------------------------------------------------------

struct WindowQuery {
    DWORD pid;
    int marker;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* q = reinterpret_cast<WindowQuery*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != q->pid || !IsWindowVisible(window)) return TRUE;
    if (q->marker && !GetDlgItem(window, q->marker)) return TRUE;
    q->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD pid, int marker) {
    WindowQuery q{pid, marker, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

BOOL CALLBACK ChildNeedsPaint(HWND child, LPARAM lParam) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

// Painted: the window's thread answers, and neither the window nor a visible child has
// an update region left.
bool IsPainted(HWND window) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) return false;
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(window, ChildNeedsPaint, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

struct Started {
    PROCESS_INFORMATION pi{};
    double startMs = 0;
    HWND window = nullptr;
    double visibleMs = 0;
    double paintedMs = 0;
};

void End(Started& s) {
    if (!s.pi.hProcess) return;
    TerminateProcess(s.pi.hProcess, 0);
    WaitForSingleObject(s.pi.hProcess, 10000);
    CloseHandle(s.pi.hProcess);
    CloseHandle(s.pi.hThread);
    s.pi = {};
}

// Starts the program and waits (up to 60 s) for its painted window.
bool StartAndWaitPainted(const std::wstring& exe, int marker, Started& s) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    s.startMs = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &s.pi)) {
        std::fprintf(stderr, "benchtool: cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    const double deadline = s.startMs + 60000;
    while (Now() < deadline) {
        if (WaitForSingleObject(s.pi.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "benchtool: %ls ended before it showed its window\n", exe.c_str());
            return false;
        }
        if (!s.window && (s.window = FindProcessWindow(s.pi.dwProcessId, marker)) != nullptr) s.visibleMs = Now();
        if (s.window && IsPainted(s.window)) {
            s.paintedMs = Now();
            return true;
        }
        Sleep(1);
    }
    std::fprintf(stderr, "benchtool: no painted window of %ls within 60 s\n", exe.c_str());
    return false;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& name) {
    std::vector<DWORD> pids(1024), found;
    DWORD bytes = 0;
    for (;;) {
        if (!K32EnumProcesses(pids.data(), static_cast<DWORD>(pids.size() * sizeof(DWORD)), &bytes)) return found;
        if (bytes < pids.size() * sizeof(DWORD)) break;
        pids.resize(pids.size() * 2);
    }
    pids.resize(bytes / sizeof(DWORD));
    for (DWORD pid : pids) {
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

// ---- commands ---------------------------------------------------------------------------

int Startup(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    std::vector<double> runs;
    for (int i = 0; i < o.reps; ++i) {
        Started s;
        const bool ok = StartAndWaitPainted(o.rest[0], o.marker, s);
        End(s);
        if (!ok) return 1;
        runs.push_back(s.paintedMs - s.startMs);
        std::printf("run%d_ms %.1f (visible at %.1f)\n", i + 1, runs.back(), s.visibleMs - s.startMs);
        std::fflush(stdout);
        Sleep(300);  // let the ended process's resources go before the next start
    }
    std::printf("median_ms %.1f\n", Median(runs));
    return 0;
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

int Idle(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    Started s;
    if (!StartAndWaitPainted(o.rest[0], o.marker, s)) {
        End(s);
        return 1;
    }
    Sleep(2000);
    const double cpu0 = CpuMs(s.pi.hProcess), t0 = Now();
    Sleep(static_cast<DWORD>(o.seconds * 1000));
    const double cpu1 = CpuMs(s.pi.hProcess), t1 = Now();
    const bool alive = WaitForSingleObject(s.pi.hProcess, 0) == WAIT_TIMEOUT;
    End(s);
    if (!alive) {
        std::fprintf(stderr, "benchtool: the program ended during the idle period\n");
        return 1;
    }
    std::printf("idle_seconds %.1f\ncpu_ms %.1f\ncpu_percent %.3f\n", (t1 - t0) / 1000, cpu1 - cpu0,
                100.0 * (cpu1 - cpu0) / (t1 - t0));
    return 0;
}

int Diagnostics(const Options& o) {
    const std::wstring name = o.rest.empty() ? L"brisvale.exe" : o.rest[0];
    const DWORD pid = FindProcessByName(name);
    if (!pid) {
        std::fprintf(stderr, "benchtool: %ls is not running\n", name.c_str());
        return 1;
    }
    // The main dialog is the window that holds the instance list.
    HWND window = FindProcessWindow(pid, 1001);
    if (!window) {
        std::fprintf(stderr, "benchtool: %ls shows no main window\n", name.c_str());
        return 1;
    }
    const UINT message = RegisterWindowMessageW(L"brisvale.diagnostics");
    const char* names[] = {"kernel_handles", "live_gdi_objects", "platform_handles", "platform_gdi_objects",
                           "probed_gdi_objects"};
    for (WPARAM figure = 0; figure < 5; ++figure) {
        DWORD_PTR value = 0;
        if (!SendMessageTimeoutW(window, message, figure, 0, SMTO_ABORTIFHUNG, 10000, &value)) {
            std::fprintf(stderr, "benchtool: no answer from %ls\n", name.c_str());
            return 1;
        }
        std::printf("%s %lld\n", names[figure], static_cast<long long>(static_cast<LRESULT>(value)));
    }
    return 0;
}

// Median time of a plain BitBlt of a width x height memory bitmap onto a window.
double BlitMedianMs(int width, int height, int reps) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return -1;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, width, height, WHITENESS);
    std::vector<double> runs;
    for (int i = 0; i < reps; ++i) {
        const double t0 = Now();
        BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        GdiFlush();
        runs.push_back(Now() - t0);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    DestroyWindow(window);
    return Median(runs);
}

int Blit(const Options& o) {
    const double median = BlitMedianMs(o.width, o.height, o.reps);
    if (median < 0) return 1;
    std::printf("blit_size %dx%d\nblit_median_ms %.3f\n", o.width, o.height, median);
    return 0;
}

HWND RequireMainWindow() {
    const DWORD pid = FindProcessByName(L"brisvale.exe");
    HWND window = pid ? FindProcessWindow(pid, 1001) : nullptr;
    if (!window) std::fprintf(stderr, "benchtool: brisvale.exe shows no main window\n");
    return window;
}

int Repaint(const Options& o) {
    HWND window = RequireMainWindow();
    if (!window) return 1;
    RECT client{};
    GetClientRect(window, &client);
    std::vector<double> runs;
    for (int i = 0; i < o.reps; ++i) {
        const double t0 = Now();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        const double deadline = t0 + 10000;
        while (!IsPainted(window)) {
            if (Now() > deadline) {
                std::fprintf(stderr, "benchtool: the window did not repaint within 10 s\n");
                return 1;
            }
        }
        runs.push_back(Now() - t0);
    }
    const int width = client.right - client.left, height = client.bottom - client.top;
    std::printf("repaint_size %dx%d\nrepaint_median_ms %.3f\nblit_median_ms %.3f\n", width, height, Median(runs),
                BlitMedianMs(std::max(1, width), std::max(1, height), std::max(o.reps, 20)));
    return 0;
}

HWND ControlOf(HWND dialog, int id) { return GetDlgItem(dialog, id); }

int Bringup(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    Started s;
    if (!StartAndWaitPainted(o.rest[0], 1001, s)) {
        End(s);
        return 1;
    }
    // The adapter list is filled by a deferred start-up step; wait until it has rows.
    HWND adapters = ControlOf(s.window, 1000);
    for (double end = Now() + 20000; Now() < end && SendMessageW(adapters, LVM_GETITEMCOUNT, 0, 0) == 0;) Sleep(20);
    Sleep(500);
    if (!ProcessesNamed(L"dravik.exe").empty()) {
        std::fprintf(stderr, "benchtool: dravik.exe already runs; the bring-up needs none\n");
        return 1;
    }
    HWND closeAdapter = ControlOf(s.window, 1016);
    const double t0 = Now();
    PostMessageW(s.window, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(ControlOf(s.window, 1003)));
    // The search disables button 1016 and enables it again when it ends.
    bool sawRunning = false;
    double ended = 0;
    bool backendSeen = false;
    for (const double deadline = t0 + 120000; Now() < deadline;) {
        if (!backendSeen) {
            backendSeen = !ProcessesNamed(L"dravik.exe").empty();
            if (!backendSeen && Now() > t0 + 10000) {
                std::fprintf(stderr, "benchtool: the search started no backend within 10 s\n");
                break;
            }
        }
        const bool enabled = IsWindowEnabled(closeAdapter);
        if (!enabled) sawRunning = true;
        if (sawRunning && enabled) {
            ended = Now();
            break;
        }
        Sleep(2);
    }
    CloseHandle(s.pi.hProcess);
    CloseHandle(s.pi.hThread);
    if (!ended) {
        std::fprintf(stderr, "benchtool: the search did not end within 120 s\n");
        return 1;
    }
    const size_t running = ProcessesNamed(L"dravik.exe").size();
    std::printf("bringup_ms %.1f\nbringup_floor_ms %d\nbackends_running %zu\n", ended - t0, 10 * 500, running);
    if (running != 10) {
        std::fprintf(stderr, "benchtool: %zu backends run after the search, not 10\n", running);
        return 1;
    }
    return 0;
}

// The text of a list-view cell of another process: the item record and the text buffer
// live in that process's memory for the duration of the call.
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

int FirstAdapter(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    Started s;
    if (!StartAndWaitPainted(o.rest[0], 1001, s)) {
        End(s);
        return 1;
    }
    HWND adapters = GetDlgItem(s.window, 1000);
    for (double end = Now() + 20000; Now() < end && SendMessageW(adapters, LVM_GETITEMCOUNT, 0, 0) == 0;) Sleep(20);
    const std::wstring name = SendMessageW(adapters, LVM_GETITEMCOUNT, 0, 0) ? RemoteListCell(adapters, 0, 1) : L"";
    End(s);
    if (name.empty()) {
        std::fprintf(stderr, "benchtool: the program lists no adapter\n");
        return 1;
    }
    std::printf("%ls\n", name.c_str());
    return 0;
}

int WaitWindow(const Options& o) {
    const std::wstring name = o.rest.empty() ? L"brisvale.exe" : o.rest[0];
    for (const double end = Now() + 30000; Now() < end; Sleep(50)) {
        const DWORD pid = FindProcessByName(name);
        HWND window = pid ? FindProcessWindow(pid, 1001) : nullptr;
        if (window && IsPainted(window)) {
            std::printf("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
            return 0;
        }
    }
    std::fprintf(stderr, "benchtool: no painted main window of %ls within 30 s\n", name.c_str());
    return 1;
}

int Rescale(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    const int notches = _wtoi(o.rest[0].c_str());
    HWND window = RequireMainWindow();
    if (!window) return 1;
    // The dialog's own loop sees posted key messages before dispatch, as it sees real ones.
    PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 0x001D0001);
    Sleep(100);
    for (int i = 0; i < notches; ++i) {
        RECT r{};
        GetWindowRect(window, &r);
        const short delta = i % 2 ? -WHEEL_DELTA : WHEEL_DELTA;
        const LPARAM point = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(delta)), point);
        DWORD_PTR ignored;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        Sleep(20);
    }
    PostMessageW(window, WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC01D0001));
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return 0;
}

int Kill(const Options& o) {
    if (o.rest.empty()) return Usage();
    int failed = 0;
    for (const std::wstring& name : o.rest)
        for (DWORD pid : ProcessesNamed(name)) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (!process || !TerminateProcess(process, 1) || WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) ++failed;
            if (process) CloseHandle(process);
        }
    return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    Options o;
    if (!ParseOptions(argc, argv, o)) return Usage();
    const std::wstring command = argv[1];
    if (command == L"startup") return Startup(o);
    if (command == L"idle") return Idle(o);
    if (command == L"diagnostics") return Diagnostics(o);
    if (command == L"blit") return Blit(o);
    if (command == L"repaint") return Repaint(o);
    if (command == L"bringup") return Bringup(o);
    if (command == L"first-adapter") return FirstAdapter(o);
    if (command == L"wait-window") return WaitWindow(o);
    if (command == L"kill") return Kill(o);
    if (command == L"rescale") return Rescale(o);
    return Usage();
}
