// The About box (template 100): no members, no handlers of its own. Run modally over its
// owner, the main dialog.
#pragma once

#include "resource.h"
#include "win32/DialogBase.h"

class CAboutDlg : public DialogBase {
public:
    explicit CAboutDlg(HWND owner) : DialogBase(IDD_ABOUTBOX, owner) {}
};
