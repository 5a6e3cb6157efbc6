// The parts of a backend's start that the program and the bring-up benchmark share, so
// that the benchmark's floor starts backends exactly as the program does.
#pragma once

#include <windows.h>

#include <string>

#include "win32/Handles.h"

// The start-up record of a backend: its console's title, place, size and colour (used
// when it runs in a console of its own), and the program's standard input.
STARTUPINFOW BackendStartupInfo(wchar_t* consoleTitle);

// The instance's log, made anew, inheritable, readable by others while the backend writes,
// and begun with the header line. A hold by a backend that has just ended is waited out for
// at most one blink step; on failure GetLastError tells why.
UniqueFile CreateBackendLog(const std::wstring& path, const std::wstring& header);
