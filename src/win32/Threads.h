// The one way the program starts a thread: created suspended at normal priority with the
// default stack and named (debuggers and crash dumps show the name), its handle duplicated
// for whoever must observe its end, then resumed. The thread closes its own handle and
// frees its bookkeeping when the function returns.
#pragma once

#include <windows.h>

#include <functional>

#include "win32/Handles.h"

using ThreadFunction = unsigned (*)(void*);

class NamedThread;

// Runs function(record) on a new thread called `name`. beforeRun, when given, is called
// with the thread's own object (an identity to remember, never to dereference) after the
// handle was duplicated and before the thread may run. Returns the duplicate, owned by the
// caller; empty when the thread could not be created or its handle not duplicated: the
// function then never runs and the record is still the caller's.
UniqueHandle StartNamedThread(const wchar_t* name, ThreadFunction function, void* record,
                              const std::function<void(NamedThread*)>& beforeRun = {});
