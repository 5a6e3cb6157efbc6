#include "supervision/FolderRemovalWin32.h"

#include <windows.h>

#include "win32/Handles.h"

namespace supervision {

namespace {

bool RemoveEntry(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a folder is removed as the link itself, never walked into.
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(path.c_str()) != FALSE;
        return DeleteFolderTree(path);
    }
    return DeleteFileW(path.c_str()) != FALSE;
}

bool DeleteContents(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool all = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!RemoveEntry(folder + L"\\" + name, entry.dwFileAttributes)) all = false;
    } while (FindNextFileW(find.get(), &entry));
    return all;
}

}  // namespace

bool DeleteFolderTree(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(folder.c_str()) != FALSE;
    const bool contentsGone = DeleteContents(folder);
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(folder.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return RemoveDirectoryW(folder.c_str()) != FALSE && contentsGone;
}

}  // namespace supervision
