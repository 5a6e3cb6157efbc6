#include "supervision/ThreadRecords.h"

#include "common/ProgramControl.h"

namespace {

void Delay(SearchPlatform* platform, void* hWnd, std::atomic<bool>* stopFlag, long blinkArgument,
           int milliseconds, int count) {
    if (count <= 0) return;
    if (stopFlag && stopFlag->load()) return;
    for (int step = 0; step < count; ++step) {
        platform->Sleep(milliseconds);
        platform->PostProgramControl(hWnd, pcSearchLed, blinkArgument);
        if (stopFlag && stopFlag->load()) return;
    }
}

}  // namespace

void THREADINFOSTRUCT::TimeDelay(int milliseconds, int count) {
    Delay(platform, hWnd, stopFlag, pcSearchLedBlink, milliseconds, count);
}

void STATUSTHREADINFOSTRUCT::TimeDelay(int milliseconds, int count) {
    Delay(platform, hWnd, stopFlag, pcInstanceLedBlinkBase + instance, milliseconds, count);
}
