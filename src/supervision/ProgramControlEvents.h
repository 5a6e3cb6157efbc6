// The decisions of the program-control message: hint texts, blink steps, the start-up
// failure report, the end of a search and the find-and-configure button. The dialog
// implements ProgramControlHost; tests replace it with a fake.
#pragma once

#include <string>

#include "supervision/BackendWatch.h"
#include "supervision/ProgramControlHost.h"

// Handles one program-control message; returns 0. Unknown codes and arguments do nothing.
long HandleProgramControl(ProgramControlHost& host, unsigned long code, long argument);

// The Find And Configure button: start, stop, or close all, by the Ctrl key and whether a search runs.
void HandleFindAndConfigureButton(ProgramControlHost& host);

// Ends instance i's backend the program's own way: its exit is not reported, it is
// terminated with exit code 0xFFFFFFFF, its end awaited at most 10 s, its handles closed.
void TerminateBackend(ProgramControlHost& host, int instance);

// Instance i shown as down: its row reads "No" and its LED is off.
void ShowInstanceDown(ProgramControlHost& host, int instance);

// Every backend the program started, ended: each row reads "No" and each LED is off, all
// are terminated (exit code 1) and awaited together at most 1 s, then forgotten, and the
// next search starts from the first row.
void CloseProgramBackends(ProgramControlHost& host);

// Every backend closed, with no search running: the program's own and every other
// "dravik.exe" (close-all, then the sweep). Also the dialog's close does this first.
void CloseEveryBackend(ProgramControlHost& host);

// The hint for a control identifier or, failing that, the hover flags; null for none.
const wchar_t* HintTextFor(long controlId, const bool mouseOverArea[4]);

// One blink step: the colour to show (onColour or 0 for off); the phase flips.
int BlinkStep(bool& phase, int onColour);

// The text of the box after a failed start-up of instance number n, before the log tail.
std::wstring StartupFailureBoxText(int instanceNumber);
