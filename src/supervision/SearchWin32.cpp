// The search: button 1003 and the start of the discovery and configuration worker.
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::OnBnClickedButtonFindAndConfigureQelDevices() {}

void CtarnwickDlg::StartFindQelDevThread() {}
