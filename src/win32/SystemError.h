// The system's own words for an error code, for a box that must say why.
#pragma once

#include <windows.h>

#include <string>

// The text for an error code on one line, with its number: "Access is denied. (error 5)".
std::wstring SystemErrorText(DWORD error);
