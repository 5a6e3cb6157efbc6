// The program's command line. It takes one argument, /search (also -search, any case): once
// start-up has finished, the search starts as if "Find And Configure QEL Devices" had been
// pressed, so that a workstation can bring its devices up at log-on or from a scheduled
// task. Any other argument is named in a box, and the program starts as without arguments.
#pragma once

#include <string>
#include <vector>

struct CommandLineRequest {
    bool search = false;
    // The first argument that is not /search; empty when there is none.
    std::wstring unknownArgument;
};

// args: the arguments after the program's name, as the system split them.
CommandLineRequest ParseCommandLine(const std::vector<std::wstring>& args);

// The box for an argument the program does not know.
std::wstring UnknownArgumentBoxText(const std::wstring& argument);
constexpr const wchar_t* unknownArgumentCaption = L"brisvale";
