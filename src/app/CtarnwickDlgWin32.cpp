// The main dialog's construction, control binding, start-up tasks, first initialisation,
// the single-instance rule and the system menu.
#include "app/CtarnwickDlgWin32.h"

#include "app/AboutDlgWin32.h"
#include "app/DialogProgramControlHostWin32.h"
#include "app/SharedGlobals.h"
#include "app/SingleInstance.h"
#include "common/AnsiText.h"
#include "common/ProgramControl.h"
#include "resource.h"
#include "supervision/SearchState.h"
#include "win32/MessageBox.h"
#include "win32/Processes.h"
#include "win32/StartupTimeline.h"

namespace {

constexpr int windowMargin = 10;
constexpr DWORD listExtendedStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;  // 0x00010021

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// The main window of the other running copy: a dialog of another brisvale.exe process that
// holds the instance table. Null when there is none.
HWND OtherCopysMainWindow() {
    struct Search {
        DWORD ownProcess;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM argument) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(argument);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (process == s.ownProcess || std::wstring(className) != L"#32770" ||
                !GetDlgItem(window, IDC_LIST_QEL_CONFIGURATION_DATA))
                return TRUE;
            UniqueHandle handle(OpenProcess(processQueryReadTerminate, FALSE, process));
            if (handle && ProcessBaseName(handle.get()) == ProgramExecutableName()) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

CtarnwickDlg::CtarnwickDlg(HWND parent) : DialogBase(IDD_MAIN_DIALOG, parent) {
    appIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    for (bool& over : mouseOverArea) over = false;
    mouseTracking = false;
    standardLayout = true;
    searchLedBlink = false;
    ctrlKeyDown = false;
    findQelDevThreadRunning_g = false;
    stopFindQelDevThread_g = false;
    stopCheckQelDevStatusThread_g = false;
    closeAppAfterThreadExit_g = false;
    closeRunningProcesses_g = false;
    const COLORREF brushColours[6] = {RGB(255, 170, 85), RGB(153, 176, 208), RGB(232, 17, 35),
                                      RGB(25, 121, 202), RGB(255, 138, 21),  RGB(255, 255, 0)};
    for (int i = 0; i < 6; ++i) brushes[i].reset(CreateSolidBrush(brushColours[i]));
}

void CtarnwickDlg::DoDataExchange() {
    BindControl(IDC_LIST_ETHERNET_NETWORK_ADAPTERS, adapterList);
    BindControl(IDC_LIST_QEL_CONFIGURATION_DATA, instanceList);
    BindControl(IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS, refreshAdaptersButton);
    BindControl(IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES, findAndConfigureButton);
    BindControl(IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER, closeAdapterButton);
    BindControl(IDC_COMBO_BROWSER, browserCombo);
    BindControl(IDC_COMBO_CHOICE, choiceCombo);
    for (int i = 0; i < 10; ++i) BindControl(IDC_STATIC_QEL1 + i, instanceLed[i]);
    BindControl(IDC_STATIC_SEARCH_LED, searchLed);
}

void CtarnwickDlg::DlgStartUpTasks() {
    titleText = L"brisvale";
    instanceMacAddress.clear();

    // Mapped loading: black, greys and white of a picture would take the system colours;
    // the lamps use none of them.
    auto loadMapped = [](int id) { return CreateMappedBitmap(Instance(), id, 0, nullptr, 0); };
    ledOffBitmap.reset(loadMapped(IDB_LED_OFF));
    ledGreenBitmap.reset(loadMapped(IDB_LED_GREEN));
    ledRedBitmap.reset(loadMapped(IDB_LED_RED));
    ledYellowBitmap.reset(loadMapped(IDB_LED_YELLOW));
    ledBlueBitmap.reset(loadMapped(IDB_LED_BLUE));
    ledAmberBitmap.reset(loadMapped(IDB_LED_AMBER));

    instanceAdapterNames.clear();
    for (int i = 0; i < 10; ++i) {
        SetLedColor(instanceLed[i], 0);
        repositoryResetPending[i] = false;
        instanceAdapterNames.emplace_back();
    }
    SetLedColor(searchLed, 0);

    bannerImage.reset(static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP banner{};
    if (bannerImage && GetObjectW(bannerImage.get(), sizeof banner, &banner)) bannerSourceRect = {0, 0, banner.bmWidth, banner.bmHeight};

    const wchar_t* adapterHeadings[] = {L"Description", L"Name", L"MAC", L"Selected"};
    for (int c = 0; c < adapterColumnCount; ++c) adapterList.InsertColumn(c, adapterHeadings[c], LVCFMT_LEFT, 50);
    adapterList.SetExtendedStyle(adapterList.GetExtendedStyle() | listExtendedStyles);

    const wchar_t* instanceHeadings[] = {L"QEL",     L"Active",           L"Ethernet Adapter",
                                         L"IP",      L"Port",             L"NETCONF SSH Port",
                                         L"FS Name", L"Startup File Name", L"Image Signature Type"};
    for (int c = 0; c < instanceColumnCount; ++c) instanceList.InsertColumn(c, instanceHeadings[c], LVCFMT_CENTER, 50);
    instanceList.SetExtendedStyle(instanceList.GetExtendedStyle() | listExtendedStyles);

    findAndConfigureButton.EnableWindow(false);
    closeAdapterButton.EnableWindow(false);
    searchLed.EnableWindow(false);
    choiceCombo.ShowWindow(SW_HIDE);
    closeAdapterButton.ShowWindow(SW_HIDE);

    GetRegistryKeys();
}

BOOL CtarnwickDlg::OnInitDialog() {
    DialogBase::OnInitDialog();
    MarkStartupPhase(StartupPhase::dialogCreated);

    if (HMENU systemMenu = GetSystemMenu(hwnd_, FALSE)) {
        wchar_t aboutText[128] = {};
        if (LoadStringW(Instance(), IDS_ABOUTBOX, aboutText, 128) > 0) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

    SetScaleFactor();
    DlgStartUpTasks();
    MarkStartupPhase(StartupPhase::startUpTasks);

    RECT desktop{}, window{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(hwnd_, &window);
    globalWindowRedraw_g = 1;
    const int width = window.right - window.left, height = window.bottom - window.top;
    MoveWindow(hwnd_, desktop.right - width - windowMargin, windowMargin, width, height, TRUE);

    if (IsAppDuplicateProcess()) {
        duplicateCopy = true;
        if (searchAtStartUp) {
            // Unattended: the copy that runs is asked to search (it does when idle); no box.
            if (HWND other = OtherCopysMainWindow()) PostMessageW(other, programControlMessage, pcUnattendedSearch, 0);
        } else {
            const std::wstring text = WidenAnsi("brisvale") + L".exe is already running.";
            ShowMessageBox(hwnd_, L"Duplicate Process", text, BoxKind::error);
        }
        SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    MarkStartupPhase(StartupPhase::singleInstanceCheck);

    ReadQelConfigurationFile();
    MarkStartupPhase(StartupPhase::configurationFile);
    ConfigureDialogWindow();
    MarkStartupPhase(StartupPhase::firstLayout);
    PostMessageW(hwnd_, programControlMessage, pcStartUp, 0);
    // Started with /search: the search begins once the start-up step above is done.
    if (searchAtStartUp && !duplicateCopy) PostMessageW(hwnd_, programControlMessage, pcUnattendedSearch, 0);
    return TRUE;
}

bool CtarnwickDlg::IsAppDuplicateProcess() {
    std::vector<std::string> names;
    for (DWORD id : EnumerateProcessIds()) {
        UniqueHandle process(OpenProcess(processQueryReadTerminate, FALSE, id));
        if (process) names.push_back(ProcessBaseName(process.get()));
    }
    return HasDuplicateProcessName(names, ProgramExecutableName());
}

// Enter and Escape do not end the main dialog: the dialog has no OK or Cancel button, and
// a stray key must not end every backend on the workstation.
void CtarnwickDlg::OnEndRequest(int) {}

// The system close (Alt+F4, the system menu's Close, and the SC_CLOSE the program sends
// itself) leaves no backend running, like the own close button: a search is stopped first
// and the dialog closes once it has ended. A duplicate copy touches no backend: they
// belong to the copy that runs.
void CtarnwickDlg::OnCloseRequest() {
    if (!duplicateCopy) {
        if (findQelDevThreadRunning_g) {
            RequestSearchStopAndCloseApp();
            return;
        }
        DialogProgramControlHost host(*this);
        CloseEveryBackend(host);
    }
    EndDialog(IDCANCEL);
}

void CtarnwickDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(hwnd_);
        about.DoModal();
    } else if ((nID & 0xFFF0) == SC_CLOSE) {
        // Not left to the default processing, which ignores a disabled window: a close the
        // program asks for while the About box is open (the end of a search that was asked
        // to close) must not be lost. The box ends with the dialog.
        OnCloseRequest();
    } else {
        DefaultProcessing();
    }
}
