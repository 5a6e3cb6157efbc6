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
#include <windows.h>
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
                 "       benchtool blit [--reps N] [--size WxH]\n");
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

DWORD FindProcessByName(const std::wstring& name) {
    std::vector<DWORD> pids(1024);
    DWORD bytes = 0;
    for (;;) {
        if (!K32EnumProcesses(pids.data(), static_cast<DWORD>(pids.size() * sizeof(DWORD)), &bytes)) return 0;
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
        if (match) return pid;
    }
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
    const char* names[] = {"kernel_handles", "live_gdi_objects", "platform_handles", "platform_gdi_objects"};
    for (WPARAM figure = 0; figure < 4; ++figure) {
        DWORD_PTR value = 0;
        if (!SendMessageTimeoutW(window, message, figure, 0, SMTO_ABORTIFHUNG, 10000, &value)) {
            std::fprintf(stderr, "benchtool: no answer from %ls\n", name.c_str());
            return 1;
        }
        std::printf("%s %lld\n", names[figure], static_cast<long long>(static_cast<LRESULT>(value)));
    }
    return 0;
}

int Blit(const Options& o) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, o.width, o.height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, o.width, o.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, o.width, o.height, WHITENESS);
    std::vector<double> runs;
    for (int i = 0; i < o.reps; ++i) {
        const double t0 = Now();
        BitBlt(screen, 0, 0, o.width, o.height, memory, 0, 0, SRCCOPY);
        GdiFlush();
        runs.push_back(Now() - t0);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    DestroyWindow(window);
    std::printf("blit_size %dx%d\nblit_median_ms %.3f\n", o.width, o.height, Median(runs));
    return 0;
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
    return Usage();
}
