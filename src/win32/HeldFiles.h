// Opening a file that a process which has just ended may still hold.
#pragma once

#include <windows.h>

#include <string>

#include "win32/Handles.h"

// CreateFileW, except that a sharing violation is waited out for at most `milliseconds`:
// Wine signals an ended process before it lets go of its files. Any other failure is final
// at once; GetLastError tells the failure.
UniqueFile CreateFileWaitingOutHolds(const std::wstring& path, DWORD access, DWORD share,
                                     SECURITY_ATTRIBUTES* security, DWORD disposition, ULONGLONG milliseconds);
