// Latin-1 stand-in for the ANSI code page, for the native build.
#include "common/AnsiText.h"

std::wstring WidenAnsi(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string NarrowAnsi(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(static_cast<unsigned long>(c) < 256 ? static_cast<char>(c) : '?');
    return out;
}
