#include "common/AnsiText.h"

std::string NarrowAscii(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(static_cast<unsigned long>(c) < 128 ? static_cast<char>(c) : '?');
    return out;
}
