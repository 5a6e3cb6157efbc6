// In-place editing of the instance table by double-click.
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::OnNMDblclkListQelConfigurationData(NMHDR*, LRESULT* result) { *result = 0; }

void CtarnwickDlg::OnCloseupCombo2() {}
