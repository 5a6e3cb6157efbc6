// Single-byte text from files, the backend and the system is widened through the ANSI code
// page; files are written in ASCII. The Windows build converts with the system's code page,
// the native build (tests) treats bytes as Latin-1.
#pragma once

#include <string>
#include <string_view>

std::wstring WidenAnsi(std::string_view bytes);
// Characters the code page cannot represent become '?'.
std::string NarrowAnsi(std::wstring_view text);
// ASCII only: every character above 127 becomes '?'.
std::string NarrowAscii(std::wstring_view text);
