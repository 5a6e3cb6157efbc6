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
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

std::wstring MessageBoxWatcher::BoxText(HWND box) {
    wchar_t text[4096] = {};
    if (HWND label = GetDlgItem(box, 0xFFFF)) GetWindowTextW(label, text, 4096);
    return text;
}

void MessageBoxWatcher::Run() {
    while (!stop_) {
        HWND box = FindWindowW(L"#32770", caption_.c_str());
        if (!box) {
            Sleep(20);
            continue;
        }
        // The box may still be filling its controls; give it a moment once.
        Sleep(50);
        const std::wstring text = BoxText(box);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(text);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int k = 0; k < 250 && IsWindow(box); ++k) Sleep(20);
    }
}
