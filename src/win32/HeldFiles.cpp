#include "win32/HeldFiles.h"

UniqueFile CreateFileWaitingOutHolds(const std::wstring& path, DWORD access, DWORD share,
                                     SECURITY_ATTRIBUTES* security, DWORD disposition, ULONGLONG milliseconds) {
    const ULONGLONG giveUpAt = GetTickCount64() + milliseconds;
    for (;;) {
        UniqueFile file(CreateFileW(path.c_str(), access, share, security, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION || GetTickCount64() >= giveUpAt) {
            SetLastError(error);  // the caller reports it
            return file;
        }
        Sleep(10);
    }
}
