// The one way the program shows a message box: modal, one OK button, an icon by kind.
#pragma once

#include <windows.h>

#include <string>

enum class BoxKind {
    plain,        // no icon
    information,  // MB_ICONINFORMATION
    warning,      // MB_ICONEXCLAMATION
    error,        // MB_ICONERROR (also called MB_ICONHAND)
};

// Returns when the user has closed it. owner may be null (a box of its own on the taskbar).
void ShowMessageBox(HWND owner, const std::wstring& caption, const std::wstring& text, BoxKind kind);
