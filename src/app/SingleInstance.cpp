#include "app/SingleInstance.h"

bool HasDuplicateProcessName(const std::vector<std::string>& processNames, const std::string& target) {
    int matches = 0;
    for (const std::string& name : processNames)
        if (!name.empty() && name == target && ++matches > 1) return true;
    return false;
}

std::string ProgramExecutableName() { return std::string("brisvale") + ".exe"; }
