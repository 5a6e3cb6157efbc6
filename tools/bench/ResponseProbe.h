// How quickly a window answers while something else goes on: a thread of its own sends the
// window WM_NULL every 20 ms (SendMessageTimeoutW, so that a stalled window is seen, not
// waited for) and keeps each answer's time. A slow answer while another visible top-level
// window of the process is open (a message box) is the box's, not a fault: it is counted
// apart.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

class ResponseProbe {
public:
    ResponseProbe(HWND window, DWORD pid) : window_(window), pid_(pid) {}
    ~ResponseProbe() { Stop(); }
    ResponseProbe(const ResponseProbe&) = delete;
    ResponseProbe& operator=(const ResponseProbe&) = delete;

    void Start();
    // Ends the probing; the figures below are complete afterwards.
    void Stop();

    // Each answer's time in ms (a timed-out message counts with the time it waited).
    const std::vector<double>& AnswersMs() const { return answers_; }
    int TimedOut() const { return timedOut_; }
    // Slow answers given while another window of the process was open.
    int SamplesWithBox() const { return withBox_; }

private:
    void Run();
    bool OtherWindowOpen() const;

    HWND window_;
    DWORD pid_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<double> answers_;
    int timedOut_ = 0;
    int withBox_ = 0;
};
