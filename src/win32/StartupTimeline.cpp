#include "win32/StartupTimeline.h"

namespace {

// Written and read on the dialog's thread only.
long long phaseEnd[static_cast<int>(StartupPhase::count)] = {};

long long NowMicroseconds() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    // Split so that the product cannot overflow on a counter that has run for months.
    const long long seconds = now.QuadPart / frequency.QuadPart, rest = now.QuadPart % frequency.QuadPart;
    return seconds * 1000000 + rest * 1000000 / frequency.QuadPart;
}

}  // namespace

void MarkStartupPhase(StartupPhase phase) {
    long long& end = phaseEnd[static_cast<int>(phase)];
    if (end == 0) end = NowMicroseconds();
}

long long StartupPhaseEnd(StartupPhase phase) {
    const int index = static_cast<int>(phase);
    return index >= 0 && index < static_cast<int>(StartupPhase::count) ? phaseEnd[index] : 0;
}
