#include "ResponseProbe.h"

#include "BenchSupport.h"

namespace {

constexpr double periodMs = 20;
constexpr UINT answerLimitMs = 5000;

struct BoxQuery {
    DWORD pid;
    HWND main;
    bool found;
};

BOOL CALLBACK FindOtherWindow(HWND window, LPARAM lParam) {
    auto* q = reinterpret_cast<BoxQuery*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == q->pid && window != q->main && IsWindowVisible(window)) {
        q->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void ResponseProbe::Start() {
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void ResponseProbe::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool ResponseProbe::OtherWindowOpen() const {
    BoxQuery box{pid_, window_, false};
    EnumWindows(FindOtherWindow, reinterpret_cast<LPARAM>(&box));
    return box.found;
}

void ResponseProbe::Run() {
    double next = Now();
    while (!stop_.load()) {
        const bool boxBefore = OtherWindowOpen();
        const double t0 = Now();
        DWORD_PTR ignored = 0;
        const bool answered = SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, answerLimitMs, &ignored) != 0;
        const double took = Now() - t0;
        if (boxBefore || OtherWindowOpen()) {
            ++withBox_;
        } else {
            answers_.push_back(took);
            if (!answered) ++timedOut_;
        }
        next += periodMs;
        const double wait = next - Now();
        if (wait > 0) Sleep(static_cast<DWORD>(wait));
        else next = Now();  // fell behind: no burst of catching up
    }
}
