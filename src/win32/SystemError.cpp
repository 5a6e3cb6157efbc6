#include "win32/SystemError.h"

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring line(text ? text : L"", text ? length : 0);
    if (text) LocalFree(text);
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n') c = L' ';
    while (!line.empty() && line.back() == L' ') line.pop_back();
    if (!line.empty()) line += L' ';
    return line + L"(error " + std::to_wstring(error) + L")";
}
