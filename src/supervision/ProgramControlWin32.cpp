// The program-control message: every report of the threads and the mouse handling.
#include "app/CtarnwickDlgWin32.h"
#include "common/ProgramControl.h"

LRESULT CtarnwickDlg::OnProgramControl(WPARAM code, LPARAM) {
    if (code == pcStartUp) {
        GetEthernetNetworkAdapters();
        ConfigureDialogWindow();
    }
    return 0;
}
