// Starting one backend process for one instance, and reading the tail of its log.
#include "app/CtarnwickDlgWin32.h"

int CtarnwickDlg::StartTsnProcess() { return 0; }

std::wstring CtarnwickDlg::ReadLogFile() { return {}; }
