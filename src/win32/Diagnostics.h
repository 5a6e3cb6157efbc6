// Figures for leak checks, readable from outside the process: the number of open kernel
// handles and of live GDI objects. The platform's own counters (GetProcessHandleCount,
// GetGuiResources) stay at 0 under Wine, so the handle count probes handle values instead,
// and the GDI count comes from the resource owners in Handles.h.
#pragma once

#include <windows.h>

// Open kernel handles of this process, counted by asking GetHandleInformation about every
// handle value (multiples of 4) from 4 up to `limit`; the probe stops early after
// `missRun` unused values in a row past the last open one.
long CountOpenKernelHandles(ULONG_PTR limit = 0x10000, ULONG_PTR missRun = 4096);

// What a diagnostics query asks for (its wParam).
enum DiagnosticsFigure : WPARAM {
    diagnosticsKernelHandles = 0,   // CountOpenKernelHandles()
    diagnosticsLiveGdiObjects = 1,  // LiveGdiObjectCount()
    diagnosticsPlatformHandles = 2, // GetProcessHandleCount
    diagnosticsPlatformGdi = 3,     // GetGuiResources(GR_GDIOBJECTS)
};

// The registered message "brisvale.diagnostics"; a window that answers it returns the
// figure named by wParam (-1 for an unknown one).
UINT DiagnosticsMessage();

// The answer to one query.
LRESULT DiagnosticsFigureOf(WPARAM figure);

// Answers the message when it is a diagnostics query; false for every other message.
bool AnswerDiagnosticsQuery(UINT message, WPARAM wParam, LRESULT& result);
