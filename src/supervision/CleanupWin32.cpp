// Ending backend processes: those the program started, then every "dravik.exe".
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::CloseAllOpenProcesses() {}

void CtarnwickDlg::FindAndCloseRunningProcesses() {}
