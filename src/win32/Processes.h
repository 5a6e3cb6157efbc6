// The workstation's processes: every process id (the buffer grows until the result fits),
// the 8-bit base name of a process's main module, and waiting for ended processes to be
// gone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::vector<DWORD> EnumerateProcessIds();

// Access with which processes are opened for naming and termination.
constexpr DWORD processQueryReadTerminate = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE;

// The base name of the main module (at most 260 characters), or empty.
std::string ProcessBaseName(HANDLE process);

// Waits until every process has ended, all of them at once, at most `milliseconds` in all.
// A terminated process ends, and lets go of its files, a moment after TerminateProcess
// returns. True only when the wait saw every one of them end: a handle opened without
// SYNCHRONIZE cannot be waited on and counts as not ended (the others are still waited
// for).
bool WaitForProcessesToEnd(const std::vector<HANDLE>& processes, DWORD milliseconds);
