#include "supervision/BackendStartWin32.h"

#include "common/AnsiText.h"
#include "win32/HeldFiles.h"

namespace {

constexpr DWORD consoleWindowFields = STARTF_USESIZE | STARTF_USEPOSITION | STARTF_USEFILLATTRIBUTE;  // 0x16
constexpr ULONGLONG logHoldWaitMilliseconds = 250;

}  // namespace

STARTUPINFOW BackendStartupInfo(wchar_t* consoleTitle) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpTitle = consoleTitle;
    startup.dwX = 0;
    startup.dwY = 0;
    startup.dwXSize = 367;
    startup.dwYSize = 375;
    startup.dwFillAttribute = FOREGROUND_GREEN;
    startup.dwFlags = consoleWindowFields;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    return startup;
}

UniqueFile CreateBackendLog(const std::wstring& path, const std::wstring& header) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueFile log = CreateFileWaitingOutHolds(path, GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                               logHoldWaitMilliseconds);
    if (!log) return log;
    const std::string text = NarrowAnsi(header);
    DWORD written = 0;
    WriteFile(log.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return log;
}
