// Files as the program reads and writes them: existence checks, a whole file read at once,
// a complete write, a content replaced in one step, and the program's own path.
#pragma once

#include <windows.h>

#include <string>

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);  // a folder

// The whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const wchar_t* path, std::string& bytes);

// Writes every byte (in pieces of at most 1 MiB); false on the first failed write.
bool WriteAll(HANDLE file, const std::string& bytes);

// Replaces the file's content in one step: the new content goes to a temporary file in the
// current folder, which then takes the file's place. On any failure the file is unchanged
// and the temporary file is gone. A read-only file is left alone (false).
bool ReplaceFileContent(const wchar_t* path, const std::string& content);

// The full path of the running program; empty when it cannot be had.
std::wstring ProgramPath();
