#include "ResponseProbe.h"

#include "BenchSupport.h"

namespace {

constexpr double periodMs = 20;
constexpr UINT answerLimitMs = 5000;
constexpr double boxLookMs = 10;

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
    for (HWND window : VisibleWindowsOf(pid_))
        if (window != window_) return true;
    return false;
}

void ResponseProbe::Run() {
    double next = Now();
    while (!stop_.load()) {
        const double t0 = Now();
        DWORD_PTR ignored = 0;
        const bool answered = SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, answerLimitMs, &ignored) != 0;
        const double took = Now() - t0;
        // Only a slow answer is looked at for a box (the look asks the Wine server about
        // every window, which the program under measurement needs too).
        if (took > boxLookMs && OtherWindowOpen()) {
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
