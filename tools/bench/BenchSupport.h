// What the commands of benchtool share: the clock, statistics, the processes and windows
// of the program under measurement and the cells of its list views.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Milliseconds on the performance counter: the same clock in every process of the machine.
double Now();

double Median(std::vector<double> values);
// The value below which the share p (0 to 1) of the values lies (nearest rank).
double Percentile(std::vector<double> values, double p);
double Minimum(const std::vector<double>& values);

// Processes of this Wine session whose executable is named name (case-insensitive).
std::vector<DWORD> ProcessesNamed(const std::wstring& name);
DWORD FindProcessByName(const std::wstring& name);
// Terminates every process named name and waits for each to end; false when one stayed.
bool KillProcessesNamed(const std::wstring& name);

// The process's visible top-level windows.
std::vector<HWND> VisibleWindowsOf(DWORD pid);
// The process's visible top-level window holding control marker (any window for 0).
HWND FindProcessWindow(DWORD pid, int marker);
// Painted: the window's thread answers, and neither the window nor a visible child has an
// update region left.
bool IsPainted(HWND window);

// A list view of another process: its row count, and the text of one cell.
int RemoteRowCount(HWND list);
std::wstring RemoteListCell(HWND list, int row, int column);
