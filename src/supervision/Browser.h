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

// The box that says why a click on an active instance's LED (or its "QEL" cell) opens
// nothing: the browser chooser is empty because no supported browser was found.
namespace NoBrowserBox {
constexpr const wchar_t* text = L"No supported web browser (Chrome, Edge or Firefox) was found.";
constexpr const wchar_t* caption = L"Open Web Browser";
}  // namespace NoBrowserBox

// True when the click would open the instance's web page (the row exists and is active) but
// the browser chooser offers no browser at all.
bool ReportsNoBrowser(const ListTable& instances, int instance, int browsersOffered);
