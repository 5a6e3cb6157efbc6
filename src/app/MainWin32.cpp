// The program's entry: prepares the process, runs the main dialog modally, and ends when
// the dialog ends.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/CtarnwickDlgWin32.h"
#include "resource.h"
#include "win32/MessageBox.h"
#include "win32/StartupTimeline.h"

namespace {

class CtarnwickApp {
public:
    // Always 0: the process ends as soon as this returns, whether or not the dialog ran.
    int InitInstance();
};

// The arguments after the program's name, split as the system splits them.
std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int k = 1; k < count; ++k) args.emplace_back(argv[k]);
        LocalFree(argv);
    }
    return args;
}

int CtarnwickApp::InitInstance() {
    MarkStartupPhase(StartupPhase::processEntry);
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);

    WSADATA sockets{};
    if (WSAStartup(MAKEWORD(2, 2), &sockets) != 0) {
        wchar_t text[128] = {};
        LoadStringW(GetModuleHandleW(nullptr), IDP_SOCKETS_INIT_FAILED, text, 128);
        ShowMessageBox(nullptr, L"brisvale", text, BoxKind::plain);
        return 0;
    }
    // No ActiveX controls are hosted: the dialog's controls are all common controls.
    // No shell manager: no shell-aware control (folder tree, shell list) is used.
    // No visual manager: the controls draw in the native look (common controls 6 manifest).
    // No profile key: the settings are read and written directly (see the registry settings).

    const CommandLineRequest request = ParseCommandLine(ProgramArguments());
    if (!request.unknownArgument.empty())
        ShowMessageBox(nullptr, unknownArgumentCaption, UnknownArgumentBoxText(request.unknownArgument), BoxKind::warning);

    MarkStartupPhase(StartupPhase::platformReady);
    {
        CtarnwickDlg dialog;
        dialog.searchAtStartUp = request.search;
        dialog.DoModal();
    }
    WSACleanup();
    return 0;
}

CtarnwickApp evalApp_g;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return evalApp_g.InitInstance();
}
