// The discovery and configuration worker and the status monitor. Both run on threads of
// their own, never touch the user interface, report only by posting the program-control
// message and share the state of supervision/SearchState.h with the dialog.
#pragma once

#include <atomic>

#include "supervision/ThreadRecords.h"

// Polls of the status monitor before it gives up: 480 waits of half a second, 240 seconds.
constexpr int statusMonitorMaxPolls = 480;
// A record that arrives in pieces gets this many more polls to be completed; after that
// what arrived is judged as it is.
constexpr int statusRecordGracePolls = 4;
constexpr int blinkStepMilliseconds = 250;
constexpr int blinkStepsPerWait = 2;

// The worker. The argument is a THREADINFOSTRUCT, deleted here. Returns 0.
unsigned FindAndConfigureQelDevicesThread(void* record);
// The status monitor. The argument is a STATUSTHREADINFOSTRUCT, deleted here. Returns 0.
unsigned CheckQelDeviceStatusThread(void* record);
