#include "win32/Handles.h"

namespace {
std::atomic<long> liveGdiObjects{0};
}

long LiveGdiObjectCount() { return liveGdiObjects.load(); }

void CountGdiObject(long delta) {
    liveGdiObjects += delta;
}
