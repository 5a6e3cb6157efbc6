// One device brought back, or stopped, without touching the other nine: the menu on each
// instance LED (restart, stop, the web page, the log). A restart starts that one instance
// exactly as a search starts an instance, by a search of that instance alone; a stop ends
// its backend as close-all does, for it alone, with no box.
//
// The search's walk: currentInstance counts the rows started in order, and a search goes on
// from it. A restart of a row below it starts that row in place and leaves the count alone;
// a restart of the row at it is the search's next step. Rows beyond it cannot be restarted
// (a later search would start them a second time). A stop of the last row started gives
// it back to the next search; a stop of an earlier row leaves it to its own restart (or to
// close-all and a search), like a backend that ended by itself.
#pragma once

#include <string>

class ProgramControlHost;

// The menu's commands (their menu identifiers).
enum InstanceMenuCommand : unsigned { menuRestart = 1, menuStop = 2, menuOpenWebPage = 3, menuOpenLogFile = 4 };

// What the dialog knows of instance i when its menu opens.
struct InstanceFacts {
    bool searchRunning = false;   // a search (or a restart) runs
    bool backendRunning = false;  // its backend exists and has not ended
    bool active = false;          // its row reads "Yes"
    bool logExists = false;       // its log\output.log exists
    bool startable = false;       // at or below the row the search would start next
};

struct InstanceMenuState {
    bool restart = false, stop = false, openWebPage = false, openLogFile = false;
};
InstanceMenuState InstanceMenuFor(const InstanceFacts& facts);

std::wstring RestartItemText(int instanceNumber);  // "&Restart QEL n"
std::wstring StopItemText(int instanceNumber);     // "&Stop QEL n"
constexpr const wchar_t* openWebPageItemText = L"Open &web page";
constexpr const wchar_t* openLogFileItemText = L"Open &log file";

// True when the backend of instance i exists and has not ended.
bool BackendRunning(ProgramControlHost& host, int instance);

// Ends instance i's backend (stop watching, terminate, wait): row "No", LED off, no box.
void StopInstance(ProgramControlHost& host, int instance);
// Ends instance i's backend if it runs, then starts that instance alone.
void RestartInstance(ProgramControlHost& host, int instance);

// The box when the log of instance number n is asked for but does not exist.
std::wstring NoLogFileBoxText(int instanceNumber, const std::wstring& path);
constexpr const wchar_t* logFileCaption = L"Log file";
