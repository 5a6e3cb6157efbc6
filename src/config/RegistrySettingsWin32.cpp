// Per-user settings in the registry and the detection of installed browsers.
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::GetRegistryKeys() {}

void CtarnwickDlg::SetRegistryKeys() {}
