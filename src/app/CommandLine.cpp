#include "app/CommandLine.h"

#include <cwctype>

namespace {

bool IsSearchSwitch(const std::wstring& argument) {
    if (argument.size() != 7 || (argument[0] != L'/' && argument[0] != L'-')) return false;
    const wchar_t* word = L"search";
    for (size_t k = 0; k < 6; ++k)
        if (std::towlower(argument[k + 1]) != word[k]) return false;
    return true;
}

}  // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::wstring>& args) {
    CommandLineRequest request;
    for (const std::wstring& argument : args) {
        if (IsSearchSwitch(argument))
            request.search = true;
        else if (request.unknownArgument.empty() && !argument.empty())  // "" is no argument
            request.unknownArgument = argument;
    }
    // An argument it does not know: the program starts as without arguments.
    if (!request.unknownArgument.empty()) request.search = false;
    return request;
}

std::wstring UnknownArgumentBoxText(const std::wstring& argument) {
    return L"Unknown command-line argument \"" + argument + L"\". The only argument is /search.";
}
