// The discovery and configuration worker and the status monitor. Both run on threads of
// their own, never touch the user interface, report only by posting the program-control
// message and share the state of supervision/SearchState.h with the dialog. Every wait of
// either lasts at most one blink step and ends as soon as what it waits for has happened.
#pragma once

#include <atomic>

#include "supervision/ThreadRecords.h"

// A search begins: its flags are those of a running search (BeginSearchFlags), and the
// worker's record is made for the rows from firstInstance up to (not including)
// endInstance: the button's search goes on to the last row, a restart starts one. The record
// is the caller's until a worker runs on it. dialog is the window the reports are posted to.
THREADINFOSTRUCT* BeginSearch(SearchPlatform& platform, void* dialog, int firstInstance, int endInstance,
                              int rowCount);

// The worker. The argument is a THREADINFOSTRUCT, deleted here. Returns 0.
unsigned FindAndConfigureQelDevicesThread(void* record);
// The status monitor. The argument is a STATUSTHREADINFOSTRUCT, deleted here. Returns 0.
unsigned CheckQelDeviceStatusThread(void* record);
