// The command line that opens an instance's web page in the chosen browser.
#pragma once

#include <string>
#include <vector>

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

// The box that says why such a click opens nothing when browsers are offered but none is
// chosen: the chooser's text (typed into it) names none of them.
namespace NoBrowserChosenBox {
constexpr const wchar_t* text = L"Choose Chrome, Edge or Firefox in the list at the right.";
constexpr const wchar_t* caption = L"Open Web Browser";
}  // namespace NoBrowserChosenBox

// The chooser's entry that text typed into it names: the same letters in any case, spaces
// around them ignored. -1 when it names none.
int BrowserEntryNamedBy(const std::vector<std::wstring>& entries, const std::wstring& typed);

// True when the click would open the instance's web page, browsers are offered, but none
// is selected (`selection` -1, after BrowserEntryNamedBy).
bool ReportsNoBrowserChosen(const ListTable& instances, int instance, int browsersOffered, int selection);
