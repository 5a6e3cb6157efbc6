// probe.exe: a small driver for the end-to-end tests. It runs under Wine beside brisvale.exe,
// finds the program's windows from outside and prints what it sees as plain text lines.
//
//   probe [--pid PID] COMMAND ARGS...      (numbers may be decimal or 0x hexadecimal)
//
// Exit code 0 on success, 1 when the thing looked for is not there (timeout, no window,
// no such control), 2 on a usage error. Messages about failures go to standard error.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t programName[] = L"brisvale.exe";
constexpr int mainMarkerControl = 1001;  // the instance list: only the main dialog owns it
constexpr UINT sendTimeoutMs = 3000;
DWORD wantedPid = 0;                      // --pid: look only at this process

// ---- output -------------------------------------------------------------------------

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Line breaks inside a text become the two characters \r and \n, so every value stays on
// one output line; nothing else is changed (paths keep their backslashes).
std::string OneLine(const std::wstring& text) {
    std::string out;
    for (char c : Utf8(text)) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

void Line(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); std::fputc('\n', stdout); }

int Fail(const std::string& why) {
    std::fprintf(stderr, "probe: %s\n", why.c_str());
    return 1;
}

std::string RectText(const RECT& r) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return buffer;
}

std::string Hex(unsigned long long v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx", v);
    return buffer;
}

long long Number(const wchar_t* text) {
    wchar_t* end = nullptr;
    const long long v = std::wcstoll(text, &end, 0);
    if (!end || *end) {
        std::fprintf(stderr, "probe: not a number: %s\n", Utf8(text).c_str());
        std::exit(2);
    }
    return v;
}

// ---- processes ----------------------------------------------------------------------

std::vector<DWORD> ProcessIds() {
    std::vector<DWORD> ids(512);
    for (;;) {
        DWORD bytes = 0;
        if (!K32EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return {};
        if (bytes / sizeof(DWORD) < ids.size()) {
            ids.resize(bytes / sizeof(DWORD));
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

std::wstring ProcessName(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    wchar_t name[MAX_PATH] = {};
    const DWORD n = K32GetModuleBaseNameW(process, nullptr, name, MAX_PATH);
    CloseHandle(process);
    return std::wstring(name, n);
}

std::vector<DWORD> PidsNamed(const std::wstring& name) {
    std::vector<DWORD> out;
    for (DWORD id : ProcessIds())
        if (id != GetCurrentProcessId() && ProcessName(id) == name) out.push_back(id);
    return out;
}

bool IsProgramProcess(DWORD pid) {
    if (wantedPid) return pid == wantedPid;
    return ProcessName(pid) == programName;
}

// ---- windows ------------------------------------------------------------------------

std::wstring ClassOf(HWND w) {
    wchar_t name[256] = {};
    GetClassNameW(w, name, 256);
    return name;
}

// The text of a window of another process, through WM_GETTEXT (marshalled by the system).
std::wstring TextOf(HWND w) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             sendTimeoutMs, &got))
        return {};
    text.resize(got);
    return text;
}

LRESULT Send(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, message, wParam, lParam, SMTO_ABORTIFHUNG, sendTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

std::vector<HWND> TopWindows(const std::function<bool(HWND)>& keep) {
    std::vector<HWND> all;
    EnumWindows([](HWND w, LPARAM p) -> BOOL { reinterpret_cast<std::vector<HWND>*>(p)->push_back(w); return TRUE; },
                reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> out;
    for (HWND w : all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (IsProgramProcess(pid) && keep(w)) out.push_back(w);
    }
    return out;
}

bool IsDialog(HWND w) { return ClassOf(w) == L"#32770"; }
bool IsMainDialog(HWND w) { return IsDialog(w) && GetDlgItem(w, mainMarkerControl); }
// A box: any other visible dialog of the program (message boxes, the About box).
bool IsBox(HWND w) { return IsDialog(w) && IsWindowVisible(w) && !GetDlgItem(w, mainMarkerControl); }

// Polls until find() yields a window or the time is up.
HWND WaitFor(const std::function<HWND()>& find, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND w = find()) return w;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(50);
    }
}

HWND MainDialog() {
    auto found = TopWindows([](HWND w) { return IsMainDialog(w) && IsWindowVisible(w); });
    return found.empty() ? nullptr : found.front();
}

HWND Box(const std::wstring& caption = {}) {
    auto found = TopWindows([&](HWND w) { return IsBox(w) && (caption.empty() || TextOf(w) == caption); });
    return found.empty() ? nullptr : found.front();
}

HWND RequireMain() {
    HWND w = MainDialog();
    if (!w) {
        std::fprintf(stderr, "probe: no visible main dialog of %s\n", wantedPid ? "that process" : "brisvale.exe");
        std::exit(1);
    }
    return w;
}

HWND RequireControl(HWND dialog, int id) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) {
        std::fprintf(stderr, "probe: the dialog has no control %d\n", id);
        std::exit(1);
    }
    return c;
}

RECT ScreenRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

RECT ClientRectIn(HWND dialog, HWND control) {
    RECT r = ScreenRect(control);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The client area (inside borders and scroll bars), in screen coordinates.
RECT InnerScreenRect(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The place among its siblings from the top of the z-order: 0 paints over all the others.
int ZPosition(HWND w) {
    int place = 0;
    for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) ++place;
    return place;
}

// ---- memory in the program's process, for the list-view and header messages ---------

class Remote {
public:
    Remote(HWND w, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, pid);
        if (process_) base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        if (!base_) {
            std::fprintf(stderr, "probe: cannot reach the memory of process %lu\n", pid);
            std::exit(1);
        }
    }
    ~Remote() {
        VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    char* At(size_t offset) const { return base_ + offset; }
    void Write(size_t offset, const void* data, size_t n) const {
        WriteProcessMemory(process_, base_ + offset, data, n, nullptr);
    }
    void Read(size_t offset, void* data, size_t n) const { ReadProcessMemory(process_, base_ + offset, data, n, nullptr); }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

constexpr size_t textChars = 4096;
constexpr size_t textOffset = 512;  // the record sits first, the text buffer after it

std::wstring CellText(HWND list, Remote& memory, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(textChars);
    item.pszText = reinterpret_cast<LPWSTR>(memory.At(textOffset));
    memory.Write(0, &item, sizeof item);
    const wchar_t empty = 0;
    memory.Write(textOffset, &empty, sizeof empty);
    Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.At(0)));
    std::wstring text(textChars, L'\0');
    memory.Read(textOffset, text.data(), textChars * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), textChars));
    return text;
}

int ColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring HeaderText(HWND header, Remote& memory, int index) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.cchTextMax = static_cast<int>(textChars);
    item.pszText = reinterpret_cast<LPWSTR>(memory.At(textOffset));
    memory.Write(0, &item, sizeof item);
    const wchar_t empty = 0;
    memory.Write(textOffset, &empty, sizeof empty);
    Send(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(memory.At(0)));
    std::wstring text(textChars, L'\0');
    memory.Read(textOffset, text.data(), textChars * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), textChars));
    return text;
}

// ---- colours ------------------------------------------------------------------------

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

std::string RgbText(COLORREF c) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return buffer;
}

// The LED lamps' centre colours; the nearest one names what a lamp shows.
const char* LedColourName(COLORREF c) {
    struct Lamp { const char* name; int r, g, b; };
    static const Lamp lamps[] = {{"off", 128, 160, 205}, {"green", 57, 217, 57}, {"red", 255, 5, 5},
                                 {"yellow", 255, 255, 5}, {"blue", 5, 122, 205}, {"amber", 255, 205, 5}};
    const char* best = "unknown";
    int bestDistance = 40 * 40 * 3;  // farther than this from every lamp: not a lamp
    for (const Lamp& lamp : lamps) {
        const int dr = GetRValue(c) - lamp.r, dg = GetGValue(c) - lamp.g, db = GetBValue(c) - lamp.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = lamp.name;
    }
    return best;
}

// ---- commands -----------------------------------------------------------------------

using Args = std::vector<std::wstring>;

DWORD TimeoutArg(const Args& a, size_t index, DWORD fallback) {
    return a.size() > index ? static_cast<DWORD>(Number(a[index].c_str())) : fallback;
}

void PrintControlLine(HWND dialog, HWND c) {
    const int id = GetDlgCtrlID(c);
    Line(std::to_string(id) + "\t" + Utf8(ClassOf(c)) + "\t" + (IsWindowVisible(c) ? "1" : "0") + "\t" +
         (IsWindowEnabled(c) ? "1" : "0") + "\t" + RectText(ScreenRect(c)) + "\t" + RectText(ClientRectIn(dialog, c)) +
         "\t" + OneLine(TextOf(c)));
}

int CmdWaitWindow(const Args& a) {
    // A box shown during start-up keeps the main dialog hidden until it is confirmed: report
    // it at once instead of waiting for nothing.
    HWND blocking = nullptr;
    HWND w = WaitFor(
        [&]() -> HWND {
            if (HWND main = MainDialog()) return main;
            if ((blocking = Box())) return blocking;
            return nullptr;
        },
        TimeoutArg(a, 0, 20000));
    if (w && w == blocking) {
        HWND text = GetDlgItem(w, 0xFFFF);
        return Fail("a box is open instead of the main dialog: \"" + OneLine(TextOf(w)) + "\": \"" +
                    OneLine(text ? TextOf(text) : std::wstring()) + "\"");
    }
    if (!w) return Fail("no main dialog appeared");
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    Line("hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(w)) + " pid=" + std::to_string(pid));
    return 0;
}

int CmdWaitNoWindow(const Args& a) {
    if (WaitFor([] { return MainDialog() ? nullptr : GetDesktopWindow(); }, TimeoutArg(a, 0, 20000))) return 0;
    return Fail("the main dialog is still there");
}

int CmdSettle(const Args& a) {
    HWND w = RequireMain();
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process) {
        WaitForInputIdle(process, TimeoutArg(a, 0, 5000));
        CloseHandle(process);
    }
    Send(w, WM_NULL, 0, 0);
    return 0;
}

// Everything about the main dialog that start-up steps change: placement, controls and their
// states and texts, list and combo contents.
std::string Snapshot(HWND dialog) {
    std::string out = RectText(ScreenRect(dialog));
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out += "|" + RectText(ScreenRect(c)) + (IsWindowVisible(c) ? "v" : "h") + (IsWindowEnabled(c) ? "e" : "d") +
               Utf8(TextOf(c));
        const std::wstring cls = ClassOf(c);
        if (cls == L"SysListView32") out += "#" + std::to_string(Send(c, LVM_GETITEMCOUNT, 0, 0));
        if (cls == L"ComboBox") out += "#" + std::to_string(Send(c, CB_GETCOUNT, 0, 0));
    }
    return out;
}

// Waits until the main dialog has not changed for QUIET_MS (default 500), at most MS.
int CmdStable(const Args& a) {
    const DWORD quiet = TimeoutArg(a, 0, 500);
    const ULONGLONG end = GetTickCount64() + TimeoutArg(a, 1, 15000);
    HWND w = RequireMain();
    std::string last = Snapshot(w);
    ULONGLONG since = GetTickCount64();
    while (GetTickCount64() < end) {
        Sleep(100);
        if (!IsWindow(w)) return Fail("the main dialog went away");
        std::string now = Snapshot(w);
        if (now != last) {
            last = std::move(now);
            since = GetTickCount64();
        } else if (GetTickCount64() - since >= quiet) {
            return 0;
        }
    }
    return Fail("the main dialog kept changing");
}

int CmdWindows(const Args&) {
    for (HWND w : TopWindows([](HWND w) { return IsWindowVisible(w) != 0; })) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        const char* kind = IsMainDialog(w) ? "main" : IsBox(w) ? "box" : "other";
        Line(Hex(reinterpret_cast<ULONG_PTR>(w)) + "\t" + std::to_string(pid) + "\t" + kind + "\t" + Utf8(ClassOf(w)) +
             "\t" + RectText(ScreenRect(w)) + "\t" + OneLine(TextOf(w)));
    }
    return 0;
}

int CmdWindowRect(const Args&) {
    Line(RectText(ScreenRect(RequireMain())));
    return 0;
}

int CmdWindowStyle(const Args&) {
    HWND w = RequireMain();
    Line(Hex(static_cast<ULONG>(GetWindowLongW(w, GWL_STYLE))) + " " + Hex(static_cast<ULONG>(GetWindowLongW(w, GWL_EXSTYLE))));
    return 0;
}

int CmdClientRect(const Args&) {
    HWND w = RequireMain();
    RECT r{};
    GetClientRect(w, &r);
    Line(RectText(r));
    return 0;
}

int CmdControl(const Args& a) {
    if (a.empty()) return Fail("usage: control ID [FIELD]");
    HWND dialog = RequireMain();
    HWND c = RequireControl(dialog, static_cast<int>(Number(a[0].c_str())));
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"id", std::to_string(GetDlgCtrlID(c))},
        {"class", Utf8(ClassOf(c))},
        {"text", OneLine(TextOf(c))},
        {"visible", IsWindowVisible(c) ? "1" : "0"},
        {"enabled", IsWindowEnabled(c) ? "1" : "0"},
        {"style", Hex(static_cast<ULONG>(GetWindowLongW(c, GWL_STYLE)))},
        {"screen", RectText(ScreenRect(c))},
        {"client", RectText(ClientRectIn(dialog, c))},
        {"inner", RectText(InnerScreenRect(c))},
        {"z", std::to_string(ZPosition(c))},
    };
    for (const auto& [name, value] : fields) {
        if (a.size() > 1) {
            if (Utf8(a[1]) == name) {
                Line(value);
                return 0;
            }
        } else {
            Line(name + "=" + value);
        }
    }
    return a.size() > 1 ? Fail("no field " + Utf8(a[1]) + " (id class text visible enabled style screen client inner z)") : 0;
}

int CmdControls(const Args&) {
    HWND dialog = RequireMain();
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) PrintControlLine(dialog, c);
    return 0;
}

int CmdListHeaders(const Args& a) {
    if (a.empty()) return Fail("usage: list-headers ID");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    if (!header) return Fail("the control has no header");
    Remote memory(list, textOffset + textChars * sizeof(wchar_t));
    const int n = static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        Line(OneLine(HeaderText(header, memory, i)) + "\t" + std::to_string(Send(list, LVM_GETCOLUMNWIDTH, i, 0)));
    return 0;
}

int CmdListCells(const Args& a) {
    if (a.empty()) return Fail("usage: list-cells ID [ROW [COLUMN]]");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    Remote memory(list, textOffset + textChars * sizeof(wchar_t));
    const int rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
    const int columns = ColumnCount(list);
    if (a.size() >= 3) {
        const int row = static_cast<int>(Number(a[1].c_str())), column = static_cast<int>(Number(a[2].c_str()));
        if (row < 0 || row >= rows || column < 0 || column >= columns) return Fail("no such cell");
        Line(OneLine(CellText(list, memory, row, column)));
        return 0;
    }
    const int only = a.size() == 2 ? static_cast<int>(Number(a[1].c_str())) : -1;
    if (only >= rows) return Fail("no such row");
    for (int r = 0; r < rows; ++r) {
        if (only >= 0 && r != only) continue;
        std::string line;
        for (int c = 0; c < columns; ++c) line += (c ? "\t" : "") + OneLine(CellText(list, memory, r, c));
        Line(line);
    }
    return 0;
}

// Waits (polling every 10 ms) until a cell reads TEXT; prints the local time of that moment
// as HH:MM:SS.mmm, the stamp the stand-in backend writes before each log line, so that a
// test can tell how long after a backend's report the program showed it.
int CmdWaitCell(const Args& a) {
    if (a.size() < 4) return Fail("usage: wait-cell ID ROW COLUMN TEXT [TIMEOUT_MS]");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    const int row = static_cast<int>(Number(a[1].c_str())), column = static_cast<int>(Number(a[2].c_str()));
    const std::string want = Utf8(a[3]);
    Remote memory(list, textOffset + textChars * sizeof(wchar_t));
    const ULONGLONG end = GetTickCount64() + TimeoutArg(a, 4, 10000);
    for (;;) {
        if (OneLine(CellText(list, memory, row, column)) == want) break;
        if (GetTickCount64() >= end) return Fail("cell " + Utf8(a[1]) + "," + Utf8(a[2]) + " did not read \"" + want + "\"");
        Sleep(10);
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32];
    wsprintfA(stamp, "%02d:%02d:%02d.%03d", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    Line(stamp);
    return 0;
}

int CmdListCount(const Args& a) {
    if (a.empty()) return Fail("usage: list-count ID");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    Line(std::to_string(Send(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
}

int CmdListSelected(const Args& a) {
    if (a.empty()) return Fail("usage: list-selected ID");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    for (LRESULT i = Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); i >= 0;
         i = Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))
        Line(std::to_string(i));
    return 0;
}

// Where a cell is on the screen, for clicks: "left,top,right,bottom centreX centreY".
int CmdListCellRect(const Args& a) {
    if (a.size() < 3) return Fail("usage: list-cell-rect ID ROW COLUMN");
    HWND list = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    Remote memory(list, sizeof(RECT));
    RECT r{};
    r.top = static_cast<LONG>(Number(a[2].c_str()));
    r.left = LVIR_BOUNDS;
    memory.Write(0, &r, sizeof r);
    if (Send(list, LVM_GETSUBITEMRECT, Number(a[1].c_str()), reinterpret_cast<LPARAM>(memory.At(0))) <= 0)
        return Fail("no such cell");
    memory.Read(0, &r, sizeof r);
    if (Number(a[2].c_str()) == 0) {  // column 0's bounds span the whole row: cut at the column width
        r.right = r.left + static_cast<LONG>(Send(list, LVM_GETCOLUMNWIDTH, 0, 0));
    }
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    Line(RectText(r) + " " + std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
    return 0;
}

int CmdComboItems(const Args& a) {
    if (a.empty()) return Fail("usage: combo-items ID");
    HWND combo = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    const LRESULT n = Send(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
        if (length < 0) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got = Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        Line(OneLine(text));
    }
    return 0;
}

int CmdComboSelection(const Args& a) {
    if (a.empty()) return Fail("usage: combo-selection ID");
    HWND combo = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    Line(std::to_string(Send(combo, CB_GETCURSEL, 0, 0)) + "\t" + OneLine(TextOf(combo)));
    return 0;
}

int CmdLed(const Args& a) {
    if (a.empty()) return Fail("usage: led ID");
    HWND led = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    // The lamp may fill the control or sit in a part of it: the colour most of a grid of
    // points over the control shows (points off the lamp name no colour) is the lamp's.
    const RECT r = ScreenRect(led);
    HDC screen = GetDC(nullptr);
    std::vector<std::pair<std::string, int>> votes;
    for (int gy = 1; gy <= 5; ++gy)
        for (int gx = 1; gx <= 7; ++gx) {
            const std::string name = LedColourName(GetPixel(screen, r.left + (r.right - r.left) * gx / 8,
                                                            r.top + (r.bottom - r.top) * gy / 6));
            if (name == "unknown") continue;
            auto it = std::find_if(votes.begin(), votes.end(), [&](const auto& v) { return v.first == name; });
            if (it == votes.end()) votes.emplace_back(name, 1);
            else ++it->second;
        }
    ReleaseDC(nullptr, screen);
    std::string colour = "unknown";
    int most = 0;
    for (const auto& [name, count] : votes)
        if (count > most) most = count, colour = name;
    const COLORREF c = ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Line(colour + "\t" + RgbText(c) + "\t" + Hex(static_cast<ULONG_PTR>(Send(led, STM_GETIMAGE, IMAGE_BITMAP, 0))));
    return 0;
}

int CmdPixel(const Args& a) {
    if (a.size() < 2) return Fail("usage: pixel X Y");
    Line(RgbText(ScreenPixel(static_cast<int>(Number(a[0].c_str())), static_cast<int>(Number(a[1].c_str())))));
    return 0;
}

// What a box's icon shows, judged by the colours on the screen: the stop icon is red, the
// exclamation icon yellow, the information (and question) icon blue.
const char* IconKind(HWND box) {
    HWND icon = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c && !icon; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Static" && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c))
            icon = c;
    if (!icon) return "none";
    const RECT r = ScreenRect(icon);
    int red = 0, yellow = 0, blue = 0;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            const int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
            if (R > 170 && G < 90 && B < 90) ++red;
            else if (R > 170 && G > 150 && B < 90) ++yellow;
            else if (B > 150 && R < 110) ++blue;
        }
    ReleaseDC(nullptr, screen);
    if (red + yellow + blue < 8) return "unknown";
    if (red >= yellow && red >= blue) return "error";
    return yellow >= blue ? "exclamation" : "information";
}

// A message box's text is its static 0xFFFF; other boxes show the texts of their statics.
std::wstring BoxText(HWND box) {
    std::wstring text;
    if (HWND message = GetDlgItem(box, 0xFFFF)) text = TextOf(message);
    for (HWND c = GetWindow(box, GW_CHILD); c && text.empty(); c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) != L"Static") continue;
        for (HWND s = c; s; s = GetWindow(s, GW_HWNDNEXT)) {
            const LONG type = GetWindowLongW(s, GWL_STYLE) & SS_TYPEMASK;
            if (ClassOf(s) != L"Static" || type == SS_ICON || type == SS_BITMAP) continue;
            if (const std::wstring line = TextOf(s); !line.empty()) text += (text.empty() ? L"" : L"\n") + line;
        }
        break;
    }
    return text;
}

int CmdMessageBox(const Args& a) {
    HWND box = WaitFor([] { return Box(); }, TimeoutArg(a, 0, 10000));
    if (!box) return Fail("no message box appeared");
    const std::wstring text = BoxText(box);
    Sleep(100);  // let the box paint its icon before its colours are read
    std::string buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == L"Button" && IsWindowVisible(c)) buttons += (buttons.empty() ? "" : ",") + OneLine(TextOf(c));
    Line("caption=" + OneLine(TextOf(box)));
    Line("text=" + OneLine(text));
    Line("buttons=" + buttons);
    Line(std::string("icon=") + IconKind(box));
    return 0;
}

// Every open box of the program, caption and text, for a failure report.
int CmdBoxes(const Args&) {
    const auto boxes = TopWindows([](HWND w) { return IsBox(w); });
    for (HWND box : boxes) Line("caption=" + OneLine(TextOf(box)) + "\ttext=" + OneLine(BoxText(box)));
    if (boxes.empty()) Line("no box is open");
    return 0;
}

int CmdWaitBox(const Args& a) {
    if (a.empty()) return Fail("usage: wait-box CAPTION [TIMEOUT_MS]");
    HWND box = WaitFor([&] { return Box(a[0]); }, TimeoutArg(a, 1, 10000));
    if (!box) return Fail("no box captioned \"" + Utf8(a[0]) + "\" appeared");
    Line(Hex(reinterpret_cast<ULONG_PTR>(box)));
    return 0;
}

int CmdNoBox(const Args& a) {
    if (WaitFor([] { return Box() ? nullptr : GetDesktopWindow(); }, TimeoutArg(a, 0, 5000))) return 0;
    return Fail("a box is still open: " + OneLine(TextOf(Box())));
}

// Presses a button of the first open box (OK unless told) and waits until that box is gone.
int CmdCloseBox(const Args& a) {
    HWND box = WaitFor([] { return Box(); }, TimeoutArg(a, 1, 5000));
    if (!box) return Fail("no box to close");
    const int id = a.empty() ? IDOK : static_cast<int>(Number(a[0].c_str()));
    HWND button = GetDlgItem(box, id);
    if (!button) return Fail("the box has no button " + std::to_string(id));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!WaitFor([box] { return IsWindow(box) && IsWindowVisible(box) ? nullptr : box; }, 5000))
        return Fail("the box stayed open");
    return 0;
}

int CmdPost(const Args& a, bool send) {
    if (a.size() < 4) return Fail("usage: post|send TARGET MESSAGE WPARAM LPARAM (TARGET: dlg or a control id)");
    HWND dialog = RequireMain();
    HWND target = a[0] == L"dlg" ? dialog : RequireControl(dialog, static_cast<int>(Number(a[0].c_str())));
    const UINT message = static_cast<UINT>(Number(a[1].c_str()));
    const WPARAM wParam = static_cast<WPARAM>(Number(a[2].c_str()));
    const LPARAM lParam = static_cast<LPARAM>(Number(a[3].c_str()));
    if (send) {
        Line(std::to_string(Send(target, message, wParam, lParam)));
        return 0;
    }
    return PostMessageW(target, message, wParam, lParam) ? 0 : Fail("posting failed");
}

// The notification a click on a button or a notifying static sends to the dialog.
int CmdClick(const Args& a) {
    if (a.empty()) return Fail("usage: click ID");
    HWND dialog = RequireMain();
    const int id = static_cast<int>(Number(a[0].c_str()));
    HWND control = RequireControl(dialog, id);
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control))
               ? 0
               : Fail("posting failed");
}

int CmdCountProcesses(const Args& a) {
    if (a.empty()) return Fail("usage: count-processes NAME");
    Line(std::to_string(PidsNamed(a[0]).size()));
    return 0;
}

int CmdPids(const Args& a) {
    if (a.empty()) return Fail("usage: pids NAME");
    for (DWORD id : PidsNamed(a[0])) Line(std::to_string(id));
    return 0;
}

// Ends every process of each name and waits until they are gone; prints how many ended.
int CmdKill(const Args& a) {
    if (a.empty()) return Fail("usage: kill NAME...");
    int killed = 0, stuck = 0;
    for (const std::wstring& name : a) {
        for (DWORD id : PidsNamed(name)) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (!process) continue;
            if (TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0) ++killed;
            else ++stuck;
            CloseHandle(process);
        }
    }
    Line(std::to_string(killed));
    return stuck ? Fail(std::to_string(stuck) + " process(es) did not end") : 0;
}

// Ends one process by its id, as someone outside the program would, with the exit code
// given (default 1), and waits until it is gone.
int CmdKillPid(const Args& a) {
    if (a.empty()) return Fail("usage: kill-pid PID [EXIT_CODE]");
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(Number(a[0].c_str())));
    if (!process) return Fail("no process " + Utf8(a[0]) + " to end");
    const UINT exitCode = a.size() > 1 ? static_cast<UINT>(Number(a[1].c_str())) : 1;
    const bool ended = TerminateProcess(process, exitCode) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? 0 : Fail("process " + Utf8(a[0]) + " did not end");
}

// Waits until exactly COUNT processes of the name run.
int CmdWaitCount(const Args& a) {
    if (a.size() < 2) return Fail("usage: wait-count NAME COUNT [TIMEOUT_MS]");
    const size_t wanted = static_cast<size_t>(Number(a[1].c_str()));
    size_t seen = 0;
    if (WaitFor([&] { return (seen = PidsNamed(a[0]).size()) == wanted ? GetDesktopWindow() : nullptr; },
                TimeoutArg(a, 2, 15000)))
        return 0;
    return Fail(std::to_string(seen) + " processes named " + Utf8(a[0]) + " run, not " + std::to_string(wanted));
}

// The edit field of a drop-down combo box of the main dialog, in its client pixels:
// "WIDTH FIRST LAST LENGTH FITTING DROPPED": the field's width, where its first and its last
// character start, the text's length, how many characters lie left of the field's right
// edge (LENGTH when nothing is cut there) and the width of the drop-down list.
int CmdComboField(const Args& a) {
    if (a.empty()) return Fail("usage: combo-field ID");
    HWND combo = RequireControl(RequireMain(), static_cast<int>(Number(a[0].c_str())));
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (!edit) return Fail("the combo box has no edit field");
    RECT client{};
    GetClientRect(edit, &client);
    const LRESULT length = Send(edit, WM_GETTEXTLENGTH, 0, 0);
    auto x = [&](LRESULT index) { return std::to_string(static_cast<short>(LOWORD(Send(edit, EM_POSFROMCHAR, index, 0)))); };
    const LRESULT fitting = Send(edit, EM_CHARFROMPOS, 0, MAKELPARAM(client.right - 1, (client.top + client.bottom) / 2));
    Line(std::to_string(client.right - client.left) + " " + x(0) + " " + x(length > 0 ? length - 1 : 0) + " " +
         std::to_string(length) + " " + std::to_string(LOWORD(fitting)) + " " +
         std::to_string(Send(combo, CB_GETDROPPEDWIDTH, 0, 0)));
    return 0;
}

// The work area of the monitor that holds the main dialog: "left,top,right,bottom".
int CmdWorkArea(const Args&) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(RequireMain(), MONITOR_DEFAULTTONEAREST), &info))
        return Fail("no monitor information");
    Line(RectText(info.rcWork));
    return 0;
}

// Brings the main dialog to the front with the keyboard focus.
int CmdFocus(const Args&) {
    HWND w = RequireMain();
    SetForegroundWindow(w);
    Send(w, WM_NULL, 0, 0);
    return GetForegroundWindow() == w ? 0 : Fail("the main dialog did not come to the front");
}

// Whether a key is down, as this process sees it: "1" or "0".
int CmdKeyState(const Args& a) {
    if (a.empty()) return Fail("usage: keystate VK");
    Line((GetAsyncKeyState(static_cast<int>(Number(a[0].c_str()))) & 0x8000) ? "1" : "0");
    return 0;
}

// ---- modal boxes, the system menu, the cursor and repaints ----------------------------

// "1" while the main dialog takes input, "0" while a modal box over it keeps it disabled.
int CmdWindowEnabled(const Args&) {
    Line(IsWindowEnabled(RequireMain()) ? "1" : "0");
    return 0;
}

// Where a box is and who owns it: "L,T,R,B owner" with owner "main" (the main dialog),
// "none" or the owner's handle.
int CmdBoxPlacement(const Args& a) {
    if (a.empty()) return Fail("usage: box-placement CAPTION [MS]");
    HWND box = WaitFor([&] { return Box(a[0]); }, TimeoutArg(a, 1, 5000));
    if (!box) return Fail("no box captioned \"" + Utf8(a[0]) + "\"");
    HWND owner = GetWindow(box, GW_OWNER);
    const std::string ownerText = !owner ? "none" : owner == MainDialog() ? "main" : Hex(reinterpret_cast<ULONG_PTR>(owner));
    Line(RectText(ScreenRect(box)) + " " + ownerText);
    return 0;
}

// The program's open popup menus (class #32768), one screen rectangle a line; exit 1 when
// none is open within MS.
int CmdMenus(const Args& a) {
    auto menus = [] { return TopWindows([](HWND w) { return ClassOf(w) == L"#32768" && IsWindowVisible(w); }); };
    if (!WaitFor([&] { auto m = menus(); return m.empty() ? nullptr : m.front(); }, TimeoutArg(a, 0, 0)))
        return Fail("no menu is open");
    for (HWND w : menus()) Line(RectText(ScreenRect(w)));
    return 0;
}

// The cursor shown now (handle and whether it shows). The handle is the program's own, so it
// is compared with the handles read over places whose cursor is known.
int CmdCursor(const Args&) {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return Fail("GetCursorInfo failed");
    Line(Hex(reinterpret_cast<ULONG_PTR>(info.hCursor)) + "\t" + ((info.flags & CURSOR_SHOWING) ? "showing" : "hidden"));
    return 0;
}

// Repaints the whole main dialog now, whatever it has invalidated itself.
int CmdRedraw(const Args&) {
    HWND w = RequireMain();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Send(w, WM_NULL, 0, 0);
    return 0;
}

// The pixels of a part of the screen, as 0x00RRGGBB values row by row.
struct ScreenImage {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
};

ScreenImage CaptureScreen(const RECT& r) {
    ScreenImage image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    if (image.width <= 0 || image.height <= 0) return image;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const DWORD* first = static_cast<const DWORD*>(bits);
        image.pixels.assign(first, first + static_cast<size_t>(image.width) * image.height);
        for (DWORD& p : image.pixels) p &= 0x00FFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

std::vector<HWND> OpenMenus(DWORD pid) {
    std::vector<HWND> all, out;
    EnumWindows([](HWND w, LPARAM p) -> BOOL { reinterpret_cast<std::vector<HWND>*>(p)->push_back(w); return TRUE; },
                reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w) && ClassOf(w) == L"#32768") out.push_back(w);
    }
    return out;
}

// The reference system menu, opened in this process and captured by a timer in its loop.
ScreenImage referenceMenuImage;
int referenceMenuTicks = 0;

void CALLBACK CaptureReferenceMenu(HWND, UINT, UINT_PTR, DWORD) {
    const std::vector<HWND> menus = OpenMenus(GetCurrentProcessId());
    if (!menus.empty() && ++referenceMenuTicks >= 3) {  // opened and painted
        referenceMenuImage = CaptureScreen(ScreenRect(menus.front()));
        EndMenu();
    } else if (menus.empty() && ++referenceMenuTicks > 50) {
        EndMenu();
    }
}

// Reads the program's open system menu by its looks: it must show, pixel for pixel, what the
// standard system menu of a window with the main dialog's styles shows after a separator and
// an item with TEXT were appended to it. Prints "same", or how the two differ (exit 1).
// Open the program's menu first (Alt+Space after a click into the program).
int CmdSystemMenuCheck(const Args& a) {
    if (a.empty()) return Fail("usage: system-menu-check ITEM_TEXT");
    HWND main = RequireMain();
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    std::vector<HWND> shownMenus = OpenMenus(pid);
    if (shownMenus.size() != 1) return Fail(std::to_string(shownMenus.size()) + " menus of the program are open, not 1");
    Sleep(300);  // let it paint
    const ScreenImage shown = CaptureScreen(ScreenRect(shownMenus.front()));

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"probe-system-menu-reference";
    RegisterClassW(&windowClass);
    // The upper half of the style is what the system menu's item states depend on.
    const DWORD style = static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)) & 0xFFFF0000u;
    HWND reference = CreateWindowExW(static_cast<DWORD>(GetWindowLongW(main, GWL_EXSTYLE)), windowClass.lpszClassName,
                                     L"reference", style | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
    if (!reference) return Fail("cannot create the reference window");
    HMENU systemMenu = GetSystemMenu(reference, FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, 0x10, a[0].c_str());
    SetForegroundWindow(reference);
    referenceMenuTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CaptureReferenceMenu);
    SendMessageW(reference, WM_SYSCOMMAND, SC_KEYMENU, L' ');  // returns when the menu has closed
    KillTimer(nullptr, timer);
    DestroyWindow(reference);
    const ScreenImage& expected = referenceMenuImage;
    if (expected.pixels.empty()) return Fail("the reference menu did not open");

    if (shown.width != expected.width || shown.height != expected.height)
        return Fail("the menu is " + std::to_string(shown.width) + "x" + std::to_string(shown.height) + ", expected " +
                    std::to_string(expected.width) + "x" + std::to_string(expected.height));
    int differing = 0, firstRow = -1, lastRow = -1;
    for (size_t i = 0; i < shown.pixels.size(); ++i) {
        if (shown.pixels[i] == expected.pixels[i]) continue;
        ++differing;
        const int row = static_cast<int>(i / static_cast<size_t>(shown.width));
        if (firstRow < 0) firstRow = row;
        lastRow = row;
    }
    if (differing)
        return Fail(std::to_string(differing) + " pixels differ, in rows " + std::to_string(firstRow) + " to " +
                    std::to_string(lastRow) + " of " + std::to_string(shown.height));
    Line("same");
    return 0;
}

// A stand-in window for testing this program itself: a dialog owning a list view 1001
// (three columns, three rows), a combo box 1015 (three items, "beta" chosen) and a button
// 1002 whose click shows a message box "Fixture" with two lines and the exclamation icon.
// A double-click on the list names the row and column in the window title.
// Prints its process id, then runs until the dialog is closed.
LRESULT CALLBACK FixtureProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 1002 && HIWORD(wParam) == BN_CLICKED) {
        MessageBoxW(w, L"first line\r\nsecond line", L"Fixture", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == NM_DBLCLK) {
        const auto* activate = reinterpret_cast<NMITEMACTIVATE*>(lParam);
        SetWindowTextW(w, (L"Fixture double-click " + std::to_wstring(activate->iItem) + L"," +
                           std::to_wstring(activate->iSubItem)).c_str());
        return 0;
    }
    if (message == WM_CLOSE) {
        DestroyWindow(w);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, message, wParam, lParam);
}

int CmdFixture(const Args&) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND dialog = CreateWindowExW(0, L"#32770", L"Fixture", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 500, 300,
                                  nullptr, nullptr, instance, nullptr);
    if (!dialog) return Fail("cannot create the fixture window");
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FixtureProc));
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 10, 10, 360, 150,
                                dialog, reinterpret_cast<HMENU>(1001), instance, nullptr);
    const wchar_t* headings[] = {L"Name", L"Value", L"Note"};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100 + 10 * c;
        column.pszText = const_cast<LPWSTR>(headings[c]);
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* cells[3][3] = {{L"one", L"1", L""}, {L"two", L"2", L"a b\tc"}, {L"three", L"3", L"\u00e9t\u00e9"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = const_cast<LPWSTR>(cells[r][c]);
            SendMessageW(list, c ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, r, reinterpret_cast<LPARAM>(&item));
        }
    HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 380, 10, 100,
                                 120, dialog, reinterpret_cast<HMENU>(1015), instance, nullptr);
    for (const wchar_t* text : {L"alpha", L"beta", L"gamma"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    CreateWindowExW(0, L"Button", L"Show box", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 380, 200, 100, 24, dialog,
                    reinterpret_cast<HMENU>(1002), instance, nullptr);
    Line(std::to_string(GetCurrentProcessId()));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// The workstation's network adapters as the system reports them: type, MAC, name, description.
int CmdAdapters(const Args&) {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result;
    do {
        buffer.resize(size);
        result = GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    } while (result == ERROR_BUFFER_OVERFLOW);
    if (result != ERROR_SUCCESS) return Fail("GetAdaptersAddresses failed: " + std::to_string(result));
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next) {
        char mac[32] = {};
        if (a->PhysicalAddressLength == 6)
            std::snprintf(mac, sizeof mac, "%02X-%02X-%02X-%02X-%02X-%02X", a->PhysicalAddress[0], a->PhysicalAddress[1],
                          a->PhysicalAddress[2], a->PhysicalAddress[3], a->PhysicalAddress[4], a->PhysicalAddress[5]);
        Line(std::to_string(a->IfType) + "\t" + mac + "\t" + OneLine(a->FriendlyName ? a->FriendlyName : L"") + "\t" +
             OneLine(a->Description ? a->Description : L""));
    }
    return 0;
}

// ---- registry -----------------------------------------------------------------------

bool SplitKey(const std::wstring& path, HKEY& root, std::wstring& sub) {
    const size_t slash = path.find(L'\\');
    const std::wstring head = path.substr(0, slash);
    sub = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    if (head == L"HKCU" || head == L"HKEY_CURRENT_USER") root = HKEY_CURRENT_USER;
    else if (head == L"HKLM" || head == L"HKEY_LOCAL_MACHINE") root = HKEY_LOCAL_MACHINE;
    else return false;
    return true;
}

int CmdReg(const std::wstring& verb, const Args& a) {
    HKEY root{};
    std::wstring sub;
    if (a.empty() || !SplitKey(a[0], root, sub)) return Fail("usage: reg-get|reg-set|reg-delete HKCU\\KEY [NAME [DATA]]");
    if (verb == L"reg-set") {
        if (a.size() < 3) return Fail("usage: reg-set KEY NAME DATA");
        HKEY key{};
        if (RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return Fail("cannot create the key");
        const LONG e = RegSetValueExW(key, a[1].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(a[2].c_str()),
                                      static_cast<DWORD>((a[2].size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return e == ERROR_SUCCESS ? 0 : Fail("cannot set the value");
    }
    if (verb == L"reg-get") {
        if (a.size() < 2) return Fail("usage: reg-get KEY NAME");
        wchar_t data[4096] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (RegGetValueW(root, sub.c_str(), a[1].c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
            return Fail("no such value");
        Line(OneLine(data));
        return 0;
    }
    if (verb == L"reg-delete-keys") {
        for (const std::wstring& path : a) {
            if (!SplitKey(path, root, sub)) return Fail("not a key: " + Utf8(path));
            RegDeleteTreeW(root, sub.c_str());
            RegDeleteKeyW(root, sub.c_str());
        }
        return 0;
    }
    if (a.size() >= 2) {
        HKEY key{};
        if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return 0;
        RegDeleteValueW(key, a[1].c_str());
        RegCloseKey(key);
        return 0;
    }
    const LONG e = RegDeleteTreeW(root, sub.c_str());
    if (e == ERROR_SUCCESS || e == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(root, sub.c_str());
        return 0;
    }
    return Fail("cannot delete the key");
}

int Usage() {
    std::fputs(
        "usage: probe [--pid PID] COMMAND ARGS...\n"
        "  wait-window [MS] | wait-no-window [MS] | settle [MS] | stable [QUIET_MS [MS]] | windows\n"
        "  window-rect | window-style (style exstyle) | client-rect | controls | control ID [FIELD]\n"
        "    (FIELD: id class text visible enabled style screen client inner z)\n"
        "  list-headers ID | list-cells ID [ROW [COL]] | list-count ID | list-selected ID\n"
        "  wait-cell ID ROW COL TEXT [MS]: waits until the cell reads TEXT, prints the local time then\n"
        "  list-cell-rect ID ROW COL | combo-items ID | combo-selection ID\n"
        "  led ID | pixel X Y\n"
        "  message-box [MS] | boxes | wait-box CAPTION [MS] | no-box [MS] | close-box [BUTTON [MS]]\n"
        "  post|send dlg|ID MSG WPARAM LPARAM | click ID\n"
        "  count-processes NAME | pids NAME | kill NAME... | kill-pid PID [EXIT_CODE]\n"
        "  wait-count NAME COUNT [MS] | wait-gone NAME [MS]\n"
        "  adapters (type, MAC, name, description of each)\n"
        "  combo-field ID (field width, text position, characters shown, drop-down width) | work-area\n"
        "  focus | keystate VK | fixture (a stand-in window for testing probe itself)\n"
        "  window-enabled | box-placement CAPTION [MS] | menus [MS] | cursor | redraw\n"
        "  system-menu-check ITEM_TEXT (the open system menu against the standard one plus ITEM)\n"
        "  reg-get KEY NAME | reg-set KEY NAME DATA | reg-delete KEY [NAME] | reg-delete-keys KEY...\n"
        "  (NAME \"\" is the default value; under another file name, e.g. chrome.exe, this\n"
        "  program appends its command line to <its path>.args and ends)\n",
        stderr);
    return 2;
}

}  // namespace

// Under any other file name (e.g. copied to chrome.exe) this program stands in for a
// program that brisvale.exe starts: it appends its command line as one UTF-8 line to the file
// of its own path plus ".args" and ends.
bool RunAsRecorder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, n);
    const size_t slash = self.find_last_of(L"\\/");
    const std::wstring base = self.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if (_wcsicmp(base.c_str(), L"probe.exe") == 0) return false;
    HANDLE file = CreateFileW((self + L".args").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string line = Utf8(GetCommandLineW()) + "\n";
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    return true;
}

int wmain(int argc, wchar_t** argv) {
    if (RunAsRecorder()) return 0;
    _setmode(_fileno(stdout), _O_BINARY);
    Args args(argv + 1, argv + argc);
    while (args.size() >= 2 && args[0] == L"--pid") {  // the last one counts
        wantedPid = static_cast<DWORD>(Number(args[1].c_str()));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage();
    const std::wstring command = args[0];
    args.erase(args.begin());

    int rc;
    if (command == L"wait-window") rc = CmdWaitWindow(args);
    else if (command == L"wait-no-window") rc = CmdWaitNoWindow(args);
    else if (command == L"settle") rc = CmdSettle(args);
    else if (command == L"stable") rc = CmdStable(args);
    else if (command == L"windows") rc = CmdWindows(args);
    else if (command == L"window-rect") rc = CmdWindowRect(args);
    else if (command == L"client-rect") rc = CmdClientRect(args);
    else if (command == L"window-style") rc = CmdWindowStyle(args);
    else if (command == L"control") rc = CmdControl(args);
    else if (command == L"controls") rc = CmdControls(args);
    else if (command == L"list-headers") rc = CmdListHeaders(args);
    else if (command == L"list-cells") rc = CmdListCells(args);
    else if (command == L"list-count") rc = CmdListCount(args);
    else if (command == L"wait-cell") rc = CmdWaitCell(args);
    else if (command == L"list-selected") rc = CmdListSelected(args);
    else if (command == L"list-cell-rect") rc = CmdListCellRect(args);
    else if (command == L"combo-items") rc = CmdComboItems(args);
    else if (command == L"combo-selection") rc = CmdComboSelection(args);
    else if (command == L"led") rc = CmdLed(args);
    else if (command == L"pixel") rc = CmdPixel(args);
    else if (command == L"message-box") rc = CmdMessageBox(args);
    else if (command == L"boxes") rc = CmdBoxes(args);
    else if (command == L"wait-box") rc = CmdWaitBox(args);
    else if (command == L"no-box") rc = CmdNoBox(args);
    else if (command == L"close-box") rc = CmdCloseBox(args);
    else if (command == L"post") rc = CmdPost(args, false);
    else if (command == L"send") rc = CmdPost(args, true);
    else if (command == L"click") rc = CmdClick(args);
    else if (command == L"count-processes") rc = CmdCountProcesses(args);
    else if (command == L"pids") rc = CmdPids(args);
    else if (command == L"kill") rc = CmdKill(args);
    else if (command == L"kill-pid") rc = CmdKillPid(args);
    else if (command == L"wait-count") rc = CmdWaitCount(args);
    else if (command == L"wait-gone") rc = CmdWaitCount({args.empty() ? L"" : args[0], L"0", args.size() > 1 ? args[1] : L"15000"});
    else if (command == L"focus") rc = CmdFocus(args);
    else if (command == L"adapters") rc = CmdAdapters(args);
    else if (command == L"keystate") rc = CmdKeyState(args);
    else if (command == L"fixture") rc = CmdFixture(args);
    else if (command == L"window-enabled") rc = CmdWindowEnabled(args);
    else if (command == L"box-placement") rc = CmdBoxPlacement(args);
    else if (command == L"menus") rc = CmdMenus(args);
    else if (command == L"cursor") rc = CmdCursor(args);
    else if (command == L"redraw") rc = CmdRedraw(args);
    else if (command == L"system-menu-check") rc = CmdSystemMenuCheck(args);
    else if (command == L"combo-field") rc = CmdComboField(args);
    else if (command == L"work-area") rc = CmdWorkArea(args);
    else if (command.rfind(L"reg-", 0) == 0) rc = CmdReg(command, args);
    else rc = Usage();
    std::fflush(stdout);
    return rc;
}
