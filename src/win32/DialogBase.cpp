#include "win32/DialogBase.h"

DialogBase::DialogBase(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

DialogBase::~DialogBase() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR DialogBase::DoModal() {
    ended_ = false;
    result_ = -1;
    const bool parentWasEnabled = parent_ && IsWindowEnabled(parent_);
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return -1;
    if (parentWasEnabled) EnableWindow(parent_, FALSE);
    if (!ended_) ShowWindow(hwnd_, SW_SHOW);

    MSG msg;
    bool quit = false;
    while (!ended_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (parentWasEnabled) EnableWindow(parent_, TRUE);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result_;
}

HWND DialogBase::CreateModeless() {
    ended_ = false;
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    return hwnd_;
}

void DialogBase::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

BOOL DialogBase::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

BOOL DialogBase::PreTranslateMessage(MSG* msg) {
    return hwnd_ && IsDialogMessageW(hwnd_, msg);
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->hwnd_ = window;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Route(message, wParam, lParam) : FALSE;
}

INT_PTR DialogBase::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    MessageContext context{message, wParam, lParam};
    context.handled = false;
    MessageContext* outer = current_;
    current_ = &context;
    OnMessage(context);
    current_ = outer;
    if (!context.handled && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        // OK and Cancel (also Enter, Escape and the system close) end the dialog.
        OnEndRequest(LOWORD(wParam));
        return TRUE;
    }
    if (!context.handled) return FALSE;
    switch (message) {  // these return their result directly, not through DWLP_MSGRESULT
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
        case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
            return context.result;
        default:
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, context.result);
            return TRUE;
    }
}
