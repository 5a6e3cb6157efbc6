// The floor of a bring-up: the time the backends themselves need. The stand-in backends of
// the first instances are started one after another exactly as the program starts them
// (its own command-line builder, the repository variable, an inheritable pipe write end,
// the log file created anew with its header line as standard output and error), each
// only after the previous one's status record has been read with a plain blocking read.
#pragma once

#include <string>
#include <vector>

#include "common/ListTable.h"

struct FloorResult {
    bool ok = false;
    std::wstring error;                 // why the measurement failed
    double totalMs = 0;                 // from the first pipe to the last record read
    std::vector<double> instanceMs;     // each instance's share of it
};

// Starts "dravik.exe" of the working directory for rows 0 to count - 1 of the instance
// table, with the adapters of adapterList and the folders found beside programPath, and
// ends all of them again before it returns.
FloorResult MeasureBackendFloor(const ListTable& instanceTable, const ListTable& adapterList, int count,
                                const std::wstring& programPath);
