#include "win32/MessageBox.h"

namespace {

UINT IconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::information: return MB_ICONINFORMATION;
    case BoxKind::warning: return MB_ICONEXCLAMATION;
    case BoxKind::error: return MB_ICONERROR;
    case BoxKind::plain: break;
    }
    return 0;
}

}  // namespace

void ShowMessageBox(HWND owner, const std::wstring& caption, const std::wstring& text, BoxKind kind) {
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | IconOf(kind));
}
