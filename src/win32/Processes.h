// Enumeration of the workstation's processes: every process id (the buffer grows until the
// result fits) and the 8-bit base name of a process's main module.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::vector<DWORD> EnumerateProcessIds();

// Access with which processes are opened for naming and termination.
constexpr DWORD processQueryReadTerminate = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE;

// The base name of the main module (at most 260 characters), or empty.
std::string ProcessBaseName(HANDLE process);
