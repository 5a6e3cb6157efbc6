// When each step of the program's start-up ended, for the start-up benchmark: a time on
// the performance counter (the same clock in every process of the machine), so that a
// tool that started the program can set each step against its own start.
#pragma once

#include <windows.h>

// The steps in their order; each is recorded the first time it ends.
enum class StartupPhase : int {
    processEntry = 0,     // the program's entry is reached (the loader's work is done)
    platformReady,        // common controls and sockets are initialised
    dialogCreated,        // the dialog and its controls exist (its initialisation begins)
    startUpTasks,         // scale factor, bitmaps, LEDs, list columns, registry settings
    singleInstanceCheck,  // the placement and the look for another running copy
    configurationFile,    // the instance table is filled from the configuration file
    firstLayout,          // the first layout pass
    dialogShown,          // the initialised dialog is shown (its modal loop begins)
    adapters,             // the deferred start-up step has listed the adapters
    secondLayout,         // and has laid the window out again
    firstPaint,           // the dialog's first paint has been copied to the window
    count
};

// Records the end of the step unless it was recorded before.
void MarkStartupPhase(StartupPhase phase);

// The time the step ended, in microseconds on the performance counter; 0 when it has not
// ended yet.
long long StartupPhaseEnd(StartupPhase phase);
