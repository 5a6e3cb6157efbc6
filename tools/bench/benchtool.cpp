// benchtool.exe: the measuring side of scripts/bench.sh and the soak, run under Wine next
// to the program. It prints numbers, one "name value" pair per line.
//
//   benchtool startup [--reps N] [--marker ID] [--phases] EXE...
//       starts each EXE (in the current folder) N times (default 5), the programs taking
//       turns; each time measures from just before CreateProcessW until its window is
//       visible and has no part left to paint; prints each run, the median and the
//       minimum in milliseconds, each line led by the program's name. The window is the
//       process's visible top-level window holding control ID (any window for 0,
//       default). --phases: also asks each painted program when each step of its start-up
//       ended (diagnostics figures 16 and on) and prints each step's median end and
//       duration, for the programs that answer.
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
//   benchtool bringup [--instances N] [--reps R] [--floor] EXE
//       R times (default 3): starts EXE, waits for its painted window and its adapter
//       list, presses "Find And Configure QEL Devices" (button 1003) and measures until
//       the search has ended with N backends running (default 10; button 1016 enabled
//       again, N "dravik.exe" processes), then ends the program and its backends.
//       Meanwhile a probe sends the main window WM_NULL every 20 ms and keeps each
//       answer's time. --floor: after each run, the floor of the same bring-up: the N
//       stand-ins started one after another as the program starts them (the program's
//       own instance table and adapter list, read from its window), each until its
//       record has been read. Prints each run, medians and minima, and the answer times
//       (longest, 99th percentile, median).
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "BackendFloor.h"
#include "BenchSupport.h"
#include "ResponseProbe.h"
#include "common/ListTable.h"
#include "win32/Diagnostics.h"
#include "win32/StartupTimeline.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: benchtool startup [--reps N] [--marker ID] [--phases] EXE...\n"
                 "       benchtool idle [--seconds S] [--marker ID] EXE\n"
                 "       benchtool diagnostics [NAME]\n"
                 "       benchtool blit [--reps N] [--size WxH]\n"
                 "       benchtool repaint [--reps N]\n"
                 "       benchtool bringup [--instances N] [--reps R] [--floor] EXE\n"
                 "       benchtool first-adapter EXE\n"
                 "       benchtool wait-window [NAME]\n"
                 "       benchtool rescale N\n"
                 "       benchtool kill NAME...\n");
    return 2;
}

struct Options {
    int reps = 0;  // 0: the command's own default
    int instances = 10;
    bool phases = false;
    bool floor = false;
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
        else if (a == L"--instances" && hasValue) o.instances = std::min(10, std::max(1, _wtoi(argv[++i])));
        else if (a == L"--phases") o.phases = true;
        else if (a == L"--floor") o.floor = true;
        else if (a == L"--size" && hasValue) {
            if (swscanf(argv[++i], L"%dx%d", &o.width, &o.height) != 2 || o.width <= 0 || o.height <= 0) return false;
        } else if (a.rfind(L"--", 0) == 0) return false;
        else o.rest.push_back(a);
    }
    return true;
}

int RepsOr(const Options& o, int fallback) { return o.reps > 0 ? o.reps : fallback; }

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

// ---- commands ---------------------------------------------------------------------------

// The steps of the program's start-up, in the order of its StartupPhase.
const char* const startupPhaseNames[] = {
    "process entry",      "platform ready",    "dialog created", "start-up tasks",     "single-instance check",
    "configuration file", "first layout pass", "dialog shown",   "adapters",           "second layout pass",
    "first paint"};
constexpr int startupPhaseCount = sizeof startupPhaseNames / sizeof startupPhaseNames[0];
static_assert(startupPhaseCount == static_cast<int>(StartupPhase::count), "a name for every start-up step");

// When each start-up step ended, in ms after the start; negative when unknown.
std::vector<double> StartupPhaseEnds(HWND window, double startMs) {
    const UINT message = DiagnosticsMessage();
    std::vector<double> ends(startupPhaseCount, -1);
    for (int k = 0; k < startupPhaseCount; ++k) {
        DWORD_PTR value = 0;
        if (SendMessageTimeoutW(window, message, diagnosticsStartupPhaseBase + k, 0, SMTO_ABORTIFHUNG, 5000, &value) &&
            static_cast<LRESULT>(value) > 0)
            ends[k] = static_cast<double>(static_cast<LRESULT>(value)) / 1000.0 - startMs;
    }
    return ends;
}

// Each step's median end after the start, and the median of its duration in each run (from
// the end of the step before it, or from the start). Steps that some run did not report
// are left out.
void PrintPhases(const std::wstring& exe, const std::vector<std::vector<double>>& runs,
                 const std::vector<double>& painted) {
    bool answered = false;
    for (const std::vector<double>& run : runs)
        for (double end : run) answered = answered || end >= 0;
    if (!answered) return;
    std::vector<double> previous(runs.size(), 0.0);
    auto print = [&](const char* name, const std::vector<double>& ends) {
        std::vector<double> durations;
        for (size_t r = 0; r < runs.size(); ++r) durations.push_back(ends[r] - previous[r]);
        std::printf("%ls phase \"%s\" %.1f %.1f\n", exe.c_str(), name, Median(ends), Median(durations));
        previous = ends;
    };
    for (int k = 0; k < startupPhaseCount; ++k) {
        std::vector<double> ends;
        for (const std::vector<double>& run : runs)
            if (run[k] >= 0) ends.push_back(run[k]);
        if (ends.size() == runs.size()) print(startupPhaseNames[k], ends);
    }
    print("painted, all controls", painted);
}

// The programs take turns, run by run, so that a change of the machine's load meets each
// of them alike.
int Startup(const Options& o) {
    if (o.rest.empty()) return Usage();
    const size_t programs = o.rest.size();
    std::vector<std::vector<double>> runs(programs);
    std::vector<std::vector<std::vector<double>>> phases(programs);
    for (int i = 0; i < RepsOr(o, 5); ++i) {
        for (size_t p = 0; p < programs; ++p) {
            const std::wstring& exe = o.rest[p];
            Started s;
            const bool ok = StartAndWaitPainted(exe, o.marker, s);
            if (ok && o.phases) phases[p].push_back(StartupPhaseEnds(s.window, s.startMs));
            End(s);
            if (!ok) return 1;
            runs[p].push_back(s.paintedMs - s.startMs);
            std::printf("%ls run%d_ms %.1f (visible at %.1f)\n", exe.c_str(), i + 1, runs[p].back(),
                        s.visibleMs - s.startMs);
            std::fflush(stdout);
            Sleep(300);  // let the ended process's resources go before the next start
        }
    }
    for (size_t p = 0; p < programs; ++p) {
        const std::wstring& exe = o.rest[p];
        std::printf("%ls median_ms %.1f\n%ls min_ms %.1f\n", exe.c_str(), Median(runs[p]), exe.c_str(),
                    Minimum(runs[p]));
        if (o.phases) PrintPhases(exe, phases[p], runs[p]);
    }
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
    const UINT message = DiagnosticsMessage();
    const char* names[] = {"kernel_handles", "live_gdi_objects", "platform_handles", "platform_gdi_objects",
                           "probed_gdi_objects", "probed_dcs_and_regions"};
    static_assert(sizeof names / sizeof names[0] == diagnosticsProbedDcsAndRegions + 1, "a name for every figure");
    for (WPARAM figure = diagnosticsKernelHandles; figure <= diagnosticsProbedDcsAndRegions; ++figure) {
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
    const double median = BlitMedianMs(o.width, o.height, RepsOr(o, 5));
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

// Each visible control's own repaint, to see which of them the whole repaint's time goes to.
void PrintChildRepaints(HWND window, int reps) {
    std::vector<double> looks;  // what one look at a painted window costs, to read the figures by
    for (int i = 0; i < reps; ++i) {
        const double t0 = Now();
        IsPainted(window);
        looks.push_back(Now() - t0);
    }
    std::printf("repaint_look_ms %.3f\n", Median(looks));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        std::vector<double> runs;
        for (int i = 0; i < reps; ++i) {
            const double t0 = Now();
            RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            for (const double deadline = t0 + 10000; !IsPainted(window) && Now() < deadline;) {
            }
            runs.push_back(Now() - t0);
        }
        wchar_t className[64] = L"";
        GetClassNameW(child, className, 64);
        std::printf("repaint_child %d %ls %.3f\n", GetDlgCtrlID(child), className, Median(runs));
    }
}

int Repaint(const Options& o) {
    HWND window = RequireMainWindow();
    if (!window) return 1;
    RECT client{};
    GetClientRect(window, &client);
    std::vector<double> runs;
    for (int i = 0; i < RepsOr(o, 5); ++i) {
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
                BlitMedianMs(std::max(1, width), std::max(1, height), std::max(RepsOr(o, 5), 20)));
    PrintChildRepaints(window, RepsOr(o, 5));
    return 0;
}

HWND ControlOf(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// Waits (up to 20 s) until the deferred start-up step has filled the adapter list.
bool WaitForAdapterRows(HWND dialog) {
    HWND adapters = ControlOf(dialog, 1000);
    for (const double end = Now() + 20000; Now() < end; Sleep(20))
        if (RemoteRowCount(adapters) > 0) return true;
    return false;
}

// The first rows of a list view of the program, cell by cell.
MemoryTable ReadRemoteTable(HWND list, int columns, int rows) {
    MemoryTable table(columns);
    for (int r = 0; r < rows; ++r) {
        std::vector<std::wstring> cells;
        for (int c = 0; c < columns; ++c) cells.push_back(RemoteListCell(list, r, c));
        table.AddRow(cells);
    }
    return table;
}

struct BringupRun {
    bool ok = false;
    double ms = 0;
};

// A visible top-level window of the started program other than its main window.
HWND OtherWindowOf(const Started& s) {
    for (HWND window : VisibleWindowsOf(s.pi.dwProcessId))
        if (window != s.window) return window;
    return nullptr;
}

// One bring-up of the running program, from the click until the search has ended. The
// search disables button 1016 and enables it again when it ends.
BringupRun MeasureOneBringup(const Started& s, int instances, ResponseProbe& probe) {
    BringupRun run;
    HWND closeAdapter = ControlOf(s.window, 1016);
    probe.Start();
    const double t0 = Now();
    PostMessageW(s.window, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(ControlOf(s.window, 1003)));
    bool sawRunning = false;
    double nextBoxLook = t0;
    for (const double deadline = t0 + 120000; Now() < deadline; Sleep(2)) {
        // A box stops the search until somebody answers it: say what it says and give up.
        if (Now() >= nextBoxLook) {
            nextBoxLook = Now() + 250;
            if (const HWND box = OtherWindowOf(s)) {
                wchar_t caption[256] = {}, text[1024] = {};
                GetWindowTextW(box, caption, 256);
                GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the text of a message box
                std::fprintf(stderr, "benchtool: the program shows a box during the search: \"%ls\" %ls\n", caption, text);
                break;
            }
        }
        const bool enabled = IsWindowEnabled(closeAdapter);
        if (!enabled) sawRunning = true;
        if (sawRunning && enabled) {
            run.ms = Now() - t0;
            run.ok = true;
            break;
        }
    }
    probe.Stop();
    if (!run.ok) {
        std::fprintf(stderr, "benchtool: the search did not end\n");
        return run;
    }
    const size_t running = ProcessesNamed(L"dravik.exe").size();
    if (running != static_cast<size_t>(instances)) {
        std::fprintf(stderr, "benchtool: %zu backends run after the search, not %d\n", running, instances);
        run.ok = false;
    }
    return run;
}

int Bringup(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    const int reps = RepsOr(o, 3);
    std::vector<double> bringups, floors, answers;
    int timedOut = 0, withBox = 0;
    for (int rep = 1; rep <= reps; ++rep) {
        if (!ProcessesNamed(L"dravik.exe").empty()) {
            std::fprintf(stderr, "benchtool: dravik.exe already runs; the bring-up needs none\n");
            return 1;
        }
        Started s;
        if (!StartAndWaitPainted(o.rest[0], 1001, s) || !WaitForAdapterRows(s.window)) {
            std::fprintf(stderr, "benchtool: the program shows no adapter\n");
            End(s);
            return 1;
        }
        Sleep(500);
        // What the program starts its backends with: its own tables, read before the click.
        MemoryTable instanceTable(instanceColumnCount), adapterList(adapterColumnCount);
        if (o.floor) {
            instanceTable = ReadRemoteTable(ControlOf(s.window, 1001), instanceColumnCount, o.instances);
            adapterList = ReadRemoteTable(ControlOf(s.window, 1000), adapterColumnCount, RemoteRowCount(ControlOf(s.window, 1000)));
        }
        ResponseProbe probe(s.window, s.pi.dwProcessId);
        const BringupRun run = MeasureOneBringup(s, o.instances, probe);
        End(s);
        KillProcessesNamed(L"dravik.exe");
        if (!run.ok) return 1;
        bringups.push_back(run.ms);
        answers.insert(answers.end(), probe.AnswersMs().begin(), probe.AnswersMs().end());
        timedOut += probe.TimedOut();
        withBox += probe.SamplesWithBox();
        std::printf("run%d_bringup_ms %.1f (longest answer %.1f)\n", rep, run.ms,
                    probe.AnswersMs().empty() ? 0.0 : Percentile(probe.AnswersMs(), 1.0));
        Sleep(300);  // the ended backends let go of their logs
        if (o.floor) {
            wchar_t programPath[MAX_PATH * 4] = {};
            GetFullPathNameW(o.rest[0].c_str(), MAX_PATH * 4, programPath, nullptr);
            const FloorResult floor = MeasureBackendFloor(instanceTable, adapterList, o.instances, programPath);
            // A stand-in that Wine fails to start now and then costs this run its floor only.
            if (floor.ok) {
                floors.push_back(floor.totalMs);
                std::printf("run%d_floor_ms %.1f\n", rep, floor.totalMs);
            } else {
                std::fprintf(stderr, "benchtool: run %d: the floor could not be measured: %ls\n", rep, floor.error.c_str());
            }
            Sleep(300);
        }
        std::fflush(stdout);
    }
    if (o.floor && floors.empty()) {
        std::fprintf(stderr, "benchtool: no run measured the floor\n");
        return 1;
    }
    std::printf("instances %d\nbringup_ms %.1f\nbringup_min_ms %.1f\n", o.instances, Median(bringups), Minimum(bringups));
    if (o.floor) std::printf("floor_ms %.1f\nfloor_min_ms %.1f\n", Median(floors), Minimum(floors));
    std::printf("answers %zu\nanswer_max_ms %.1f\nanswer_p99_ms %.1f\nanswer_median_ms %.2f\nanswers_timed_out %d\n"
                "answers_with_box %d\n",
                answers.size(), Percentile(answers, 1.0), Percentile(answers, 0.99), Median(answers), timedOut, withBox);
    return 0;
}

int FirstAdapter(const Options& o) {
    if (o.rest.size() != 1) return Usage();
    Started s;
    if (!StartAndWaitPainted(o.rest[0], 1001, s)) {
        End(s);
        return 1;
    }
    HWND adapters = GetDlgItem(s.window, 1000);
    const bool listed = WaitForAdapterRows(s.window);
    const std::wstring name = listed ? RemoteListCell(adapters, 0, 1) : L"";
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
    bool allEnded = true;
    for (const std::wstring& name : o.rest) allEnded = KillProcessesNamed(name) && allEnded;
    return allEnded ? 0 : 1;
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
