// A dialog created from its resource template and run by a modal loop of its own, so that
// every message passes PreTranslateMessage before IsDialogMessage and dispatch. A dialog
// run modally over an owner is centred on it and keeps it disabled while it is open.
#pragma once

#include <windows.h>

struct MessageContext {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool handled = true;  // cleared by DefaultProcessing()
    LRESULT result = 0;
};

class DialogBase {
public:
    DialogBase(UINT templateId, HWND parent);
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // Creates the dialog, runs it until EndDialog, destroys it; returns EndDialog's result
    // (-1 when the dialog could not be created).
    INT_PTR DoModal();
    // Creates the dialog without running a loop (tests drive it and pump messages);
    // the destructor destroys it.
    HWND CreateModeless();
    bool IsEnded() const { return ended_; }
    // Ends the dialog, and with it every modal dialog running over it.
    void EndDialog(INT_PTR result);
    HWND GetSafeHwnd() const { return hwnd_; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    void Invalidate(BOOL erase = TRUE) const { InvalidateRect(hwnd_, nullptr, erase); }

protected:
    // Base initialisation: binds the controls (DoDataExchange). Returns TRUE to let the
    // system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    // Returns TRUE when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Routes one message; the context says whether it was handled and its result.
    virtual void OnMessage(MessageContext&) {}
    // OK or Cancel was chosen (a button, Enter, Escape); ends the dialog.
    virtual void OnEndRequest(int id) { EndDialog(id); }
    // The system close (Alt+F4, the system menu's Close, SC_CLOSE): Cancel unless overridden.
    virtual void OnCloseRequest() { OnEndRequest(IDCANCEL); }
    // Called by a handler to let the system's default processing handle the message.
    void DefaultProcessing() {
        if (current_) current_->handled = false;
    }
    template <class C>
    void BindControl(int id, C& control) {
        control.Attach(::GetDlgItem(hwnd_, id));
    }

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
    void CentreOnOwner() const;
    void Finish(INT_PTR result);

    UINT templateId_;
    HWND parent_;
    bool ended_ = false;
    INT_PTR result_ = 0;
    MessageContext* current_ = nullptr;
    // The owner this dialog disabled while it runs modally, enabled again when it ends.
    HWND disabledOwner_ = nullptr;
    // The modal dialog this one runs on top of (innermost loops first).
    DialogBase* outerModal_ = nullptr;
};
