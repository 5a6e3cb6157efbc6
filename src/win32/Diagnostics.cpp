#include "win32/Diagnostics.h"

#include "win32/Handles.h"
#include "win32/StartupTimeline.h"

long CountOpenKernelHandles(ULONG_PTR limit, ULONG_PTR missRun) {
    long open = 0;
    ULONG_PTR misses = 0;
    for (ULONG_PTR value = 4; value <= limit; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++open;
            misses = 0;
        } else if (++misses >= missRun / 4) {
            break;
        }
    }
    return open;
}

namespace {

template <class Counts>
long CountProbedGdiObjects(Counts counts) {
    long live = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index)
        if (const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index))) live += counts(type) ? 1 : 0;
    return live;
}

}  // namespace

long CountGdiObjectsByProbing() {
    return CountProbedGdiObjects([](DWORD) { return true; });
}

long CountDcsAndRegionsByProbing() {
    return CountProbedGdiObjects([](DWORD type) { return type == OBJ_DC || type == OBJ_MEMDC || type == OBJ_REGION; });
}

UINT DiagnosticsMessage() {
    static const UINT message = RegisterWindowMessageW(L"brisvale.diagnostics");
    return message;
}

LRESULT DiagnosticsFigureOf(WPARAM figure) {
    if (figure >= diagnosticsStartupPhaseBase && figure < diagnosticsStartupPhaseBase + static_cast<WPARAM>(StartupPhase::count))
        return static_cast<LRESULT>(StartupPhaseEnd(static_cast<StartupPhase>(figure - diagnosticsStartupPhaseBase)));
    switch (figure) {
        case diagnosticsKernelHandles:
            return CountOpenKernelHandles();
        case diagnosticsLiveGdiObjects:
            return LiveGdiObjectCount();
        case diagnosticsPlatformHandles: {
            DWORD count = 0;
            return GetProcessHandleCount(GetCurrentProcess(), &count) ? static_cast<LRESULT>(count) : -1;
        }
        case diagnosticsPlatformGdi:
            return static_cast<LRESULT>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
        case diagnosticsProbedGdiObjects:
            return CountGdiObjectsByProbing();
        case diagnosticsProbedDcsAndRegions:
            return CountDcsAndRegionsByProbing();
        default:
            return -1;
    }
}

bool AnswerDiagnosticsQuery(UINT message, WPARAM wParam, LRESULT& result) {
    if (message == 0 || message != DiagnosticsMessage()) return false;
    result = DiagnosticsFigureOf(wParam);
    return true;
}
