// Figures for leak checks, readable from outside the process: the number of open kernel
// handles and of live GDI objects. The platform's own counters (GetProcessHandleCount,
// GetGuiResources) stay at 0 under Wine, so the handle count probes handle values instead,
// and the GDI objects are counted twice: by the resource owners in Handles.h, and by
// probing GDI handle values, which also sees objects made without an owner.
#pragma once

#include <windows.h>

// Open kernel handles of this process, counted by asking GetHandleInformation about every
// handle value (multiples of 4) from 4 up to `limit`; the probe stops early after
// `missRun` unused values in a row past the last open one.
long CountOpenKernelHandles(ULONG_PTR limit = 0x10000, ULONG_PTR missRun = 4096);

// Every GDI object of this process (stock objects and device contexts included), counted by
// asking GetObjectType about each of the 65536 entries of the GDI handle table. Wine takes
// a bare table index for a handle, so under Wine this sees every object, made through an
// owner or not. Windows insists on a handle's upper bits as well: there the figure is 0,
// and GetGuiResources (diagnosticsPlatformGdi) counts instead.
long CountGdiObjectsByProbing();
// Of those, the device contexts and regions. Wine keeps a cache of display DCs, each with
// its clip region, whose size goes up and down with painting: a leak check judges these
// apart from the objects a program makes for itself (fonts, bitmaps, brushes, pens).
long CountDcsAndRegionsByProbing();

// What a diagnostics query asks for (its wParam).
enum DiagnosticsFigure : WPARAM {
    diagnosticsKernelHandles = 0,   // CountOpenKernelHandles()
    diagnosticsLiveGdiObjects = 1,  // LiveGdiObjectCount()
    diagnosticsPlatformHandles = 2, // GetProcessHandleCount
    diagnosticsPlatformGdi = 3,     // GetGuiResources(GR_GDIOBJECTS)
    diagnosticsProbedGdiObjects = 4,  // CountGdiObjectsByProbing()
    diagnosticsProbedDcsAndRegions = 5,  // CountDcsAndRegionsByProbing()
    // 16 + k: the end of start-up step k (StartupTimeline.h), in microseconds on the
    // performance counter; 0 while the step has not ended.
    diagnosticsStartupPhaseBase = 16,
};

// The registered message "brisvale.diagnostics"; a window that answers it returns the
// figure named by wParam (-1 for an unknown one).
UINT DiagnosticsMessage();

// The answer to one query.
LRESULT DiagnosticsFigureOf(WPARAM figure);

// Answers the message when it is a diagnostics query; false for every other message.
bool AnswerDiagnosticsQuery(UINT message, WPARAM wParam, LRESULT& result);
