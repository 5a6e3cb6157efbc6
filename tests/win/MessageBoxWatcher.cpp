#include "MessageBoxWatcher.h"

MessageBoxWatcher::MessageBoxWatcher(std::wstring caption) : caption_(std::move(caption)) {
    thread_ = std::thread([this] { Run(); });
}

MessageBoxWatcher::~MessageBoxWatcher() { Stop(); }

void MessageBoxWatcher::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::vector<std::wstring> texts;
    for (const auto& box : Boxes()) texts.push_back(box.second);
    return texts;
}

std::vector<std::pair<std::wstring, std::wstring>> MessageBoxWatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

HWND MessageBoxWatcher::FindBox() const {
    if (!caption_.empty()) return FindWindowW(L"#32770", caption_.c_str());
    // Any box of this process: a visible dialog window with a caption (the main dialog has none).
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM out) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            // InternalGetWindowText reads the caption without sending WM_GETTEXT: a window of
            // a thread that is not pumping (the test's, waiting for this one) would block it.
            wchar_t caption[2] = {};
            if (process != GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window) ||
                InternalGetWindowText(window, caption, 2) == 0)
                return TRUE;
            reinterpret_cast<Search*>(out)->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MessageBoxWatcher::BoxText(HWND box) {
    wchar_t text[4096] = {};
    if (HWND label = GetDlgItem(box, 0xFFFF)) GetWindowTextW(label, text, 4096);
    return text;
}

void MessageBoxWatcher::Run() {
    while (!stop_) {
        HWND box = FindBox();
        if (!box) {
            Sleep(20);
            continue;
        }
        // The box may still be filling its controls: wait for its text (a box without one
        // is taken as it is after a while).
        std::wstring text = BoxText(box);
        for (int k = 0; k < 250 && text.empty() && IsWindow(box); ++k) {
            Sleep(20);
            text = BoxText(box);
        }
        wchar_t caption[256] = {};
        GetWindowTextW(box, caption, 256);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.emplace_back(caption, text);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int k = 0; k < 250 && IsWindow(box); ++k) Sleep(20);
    }
}
