#include "win32/DialogBase.h"

#include <algorithm>

#include "win32/StartupTimeline.h"

namespace {

// The innermost modal loop of this thread; each keeps the one it runs on top of.
thread_local DialogBase* innermostModal = nullptr;

}  // namespace

DialogBase::DialogBase(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

DialogBase::~DialogBase() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR DialogBase::DoModal() {
    ended_ = false;
    result_ = -1;
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return -1;
    if (parent_) {
        CentreOnOwner();
        if (!ended_ && IsWindowEnabled(parent_)) {
            EnableWindow(parent_, FALSE);
            disabledOwner_ = parent_;
        }
    }
    outerModal_ = innermostModal;
    innermostModal = this;
    if (!ended_) ShowWindow(hwnd_, SW_SHOW);
    MarkStartupPhase(StartupPhase::dialogShown);

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
    innermostModal = outerModal_;
    outerModal_ = nullptr;
    // The owner is enabled before this window goes, so that the owner is activated again.
    if (disabledOwner_) EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result_;
}

void DialogBase::CentreOnOwner() const {
    RECT owner{}, own{};
    if (!GetWindowRect(parent_, &owner) || !GetWindowRect(hwnd_, &own)) return;
    const int width = own.right - own.left, height = own.bottom - own.top;
    int x = owner.left + (owner.right - owner.left - width) / 2;
    int y = owner.top + (owner.bottom - owner.top - height) / 2;
    // An owner near the screen's edge must not push the dialog off its monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(parent_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& area = monitor.rcWork;
        x = std::max<int>(area.left, std::min<int>(x, area.right - width));
        y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    }
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND DialogBase::CreateModeless() {
    ended_ = false;
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    return hwnd_;
}

void DialogBase::EndDialog(INT_PTR result) {
    // A dialog still open over this one (the About box over the main dialog) would keep the
    // process alive behind a hidden owner: every modal loop from the innermost down to the
    // outermost one of this dialog or owned by it ends too, as cancelled.
    DialogBase* lowest = nullptr;
    for (DialogBase* d = innermostModal; d; d = d->outerModal_)
        if (d == this || (hwnd_ && d->parent_ == hwnd_)) lowest = d;
    for (DialogBase* d = innermostModal; lowest && d; d = d->outerModal_) {
        if (d != this) d->Finish(IDCANCEL);
        if (d == lowest) break;
    }
    Finish(result);
}

void DialogBase::Finish(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (disabledOwner_) EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
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
        // OK and Cancel: their buttons, Enter and Escape.
        OnEndRequest(LOWORD(wParam));
        return TRUE;
    }
    if (!context.handled && message == WM_CLOSE) {
        // Handled here, so the system does not turn it into Cancel.
        OnCloseRequest();
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
