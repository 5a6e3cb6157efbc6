// The platform of the worker and the status monitor over real pipes, threads, processes
// and events.
#pragma once

#include "supervision/ThreadRecords.h"

SearchPlatform& Win32SearchPlatform();
