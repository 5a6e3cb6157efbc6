// The single-instance rule: another copy runs when at least two running processes carry
// the program's executable name, compared exactly (case-sensitive).
#pragma once

#include <string>
#include <vector>

// Counts the names equal to target; true once the count exceeds one. Empty names never count.
bool HasDuplicateProcessName(const std::vector<std::string>& processNames, const std::string& target);

// "brisvale.exe": the program's base name joined with ".exe".
std::string ProgramExecutableName();
