// The About box (template 100): no members, no handlers of its own.
#pragma once

#include "resource.h"
#include "win32/DialogBase.h"

class CAboutDlg : public DialogBase {
public:
    CAboutDlg() : DialogBase(IDD_ABOUTBOX, nullptr) {}
};
