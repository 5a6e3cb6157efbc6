#include "supervision/ThreadRecords.h"

bool BlinkSchedule::TakeDue(long long now) {
    if (now < next_) return false;
    next_ += blinkStepMilliseconds;
    if (next_ <= now) next_ = now + blinkStepMilliseconds;
    return true;
}
