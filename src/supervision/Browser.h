// The command line that opens an instance's web page in the chosen browser.
#pragma once

#include <string>

#include "common/ListTable.h"

struct BrowserPaths {
    std::wstring chrome, edge, firefox;
};

// Empty when nothing is to be opened: no such row, the instance is not active, no browser
// chosen, or the chosen browser has no path. Otherwise: path, " -url ", IP, ":", Port.
std::wstring BrowserCommandLine(const ListTable& instances, int instance, const std::wstring& browserChoice,
                                const BrowserPaths& paths);
