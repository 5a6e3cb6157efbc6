// The main dialog: holder of all the program's state, its controls, and every handler of
// its message map. Its members are defined in the files of src/app named for their concern
// (Dialog<Concern>Win32.cpp); the subsystems below serve it with decisions and services
// and never see it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/Rect.h"
#include "supervision/BackendExitWatcherWin32.h"
#include "supervision/BackendWatch.h"
#include "win32/Controls.h"
#include "win32/DialogBase.h"
#include "win32/Handles.h"

class CtarnwickDlg : public DialogBase {
public:
    // The instance table: a list control that paints its rows on white.
    class DerivedClassListCtrl : public ListCtrl {
    public:
        DerivedClassListCtrl();
        // The reflected NM_CUSTOMDRAW notification of the list itself.
        void OnNMCustomdraw(NMHDR* header, LRESULT* result);

    private:
        UniqueBrush rowBrush;
        RECT rowRect{};
    };

    explicit CtarnwickDlg(HWND parent = nullptr);

    // --- start-up and single instance (CtarnwickDlg) ---
    BOOL OnInitDialog() override;
    void OnEndRequest(int id) override;
    void OnCloseRequest() override;
    bool IsAppDuplicateProcess();
    void OnSysCommand(UINT nID, LPARAM lParam);

    // --- configuration file and settings (DialogConfiguration) ---
    void ReadQelConfigurationFile();
    int CreateDefaultQelConfigurationFile();
    void GetField(int fieldId, const char* value);
    int UpdateQelConfigurationFile(const std::wstring& startupFileName);
    void GetFileSystemFolderPath();
    void GetRegistryKeys();
    void SetRegistryKeys();

    // --- adapters, instance table editing, choosers (DialogAdapters, DialogInstanceTable, DialogChoosers) ---
    void GetEthernetNetworkAdapters();
    void FindLastSelectedNetworkDevice();
    void OnBnClickedButtonFindEthernetNetworkAdapters();
    void OnNMDblclkListEthernetNetworkAdapters(NMHDR* header, LRESULT* result);
    void OnClickedButtonCloseSelectedEthernetNetworkAdapter();
    void OnNMDblclkListQelConfigurationData(NMHDR* header, LRESULT* result);
    void OnCloseupCombo2();
    void OnDropdownBrowserCombo();
    // Enter and Escape inside an open chooser; true when the key was used there.
    bool HandleChooserKey(const MSG& msg);

    // --- backends, search, program control, LEDs (DialogLaunch, DialogCleanup, DialogSearch,
    //     DialogProgramControl, DialogLeds) ---
    int StartTsnProcess();
    // Starts the backend of any instance as StartTsnProcess starts currentInstance's;
    // currentInstance advances only when it was that instance.
    int StartInstanceProcess(int instance);
    std::wstring ReadLogFile();
    // The last 1023 bytes of the log as they are, or from their first whole line.
    std::wstring ReadLogFile(const std::wstring& logFile, bool fromWholeLine = false);
    void CloseAllOpenProcesses();
    void FindAndCloseRunningProcesses();
    void OnBnClickedButtonFindAndConfigureQelDevices();
    void StartFindQelDevThread();
    // A search of this one instance: the LED menu's restart.
    void StartOneInstanceSearch(int instance);
    LRESULT OnProgramControl(WPARAM code, LPARAM argument);
    void SetLedColor(PictureStatic& led, int colour);
    void OnStnClickedStaticQel1();
    void OnStnClickedStaticQel2();
    void OnStnClickedStaticQel3();
    void OnStnClickedStaticQel4();
    void OnStnClickedStaticQel5();
    void OnStnClickedStaticQel6();
    void OnStnClickedStaticQel7();
    void OnStnClickedStaticQel8();
    void OnStnClickedStaticQel9();
    void OnStnClickedStaticQel10();
    void OpenWebBrowser(int instance);

    // --- the menu on each instance LED (DialogInstanceMenu) ---
    void OnContextMenu(HWND window, POINT point);
    // Runs a command of instance i's menu (supervision/InstanceRecovery.h).
    void RunInstanceCommand(int instance, unsigned command);
    void OpenLogFile(int instance);
    std::wstring InstanceLogFilePath(int instance);

    // --- layout, painting, mouse and chrome (DialogLayout, DialogPaint, DialogMouse) ---
    void SetScaleFactor();
    void ConfigureDialogWindow();
    void CalculateListCtrlColumnWidth(ListCtrl& list, int column, HDC hdc, HWND header, double& width);
    BOOL OnMouseWheel(UINT flags, short zDelta, POINT point);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void DrawCancelButton(HDC hdc);
    void DrawMinimizeButton(HDC hdc);
    // Repaints the hint line alone, after its text changed.
    void InvalidateHintLine();
    HCURSOR OnQueryDragIcon();
    void OnMouseMove(UINT flags, POINT point);
    void OnMouseLeave();
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnLButtonDblClk(UINT flags, POINT point);
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange() override;
    void OnMessage(MessageContext& context) override;

private:
    void DlgStartUpTasks();

public:
    // Members in declaration order. Everything not set by the constructor starts as zero,
    // false, null or empty.
    HICON appIcon = nullptr;
    bool standardLayout = true;
    bool mouseOverArea[4] = {};  // close button, minimize button, drag bar, title bar
    bool mouseTracking = false;
    bool searchLedBlink = false;
    bool instanceLedBlink[10] = {};
    bool ctrlKeyDown = false;
    bool repositoryResetPending[10] = {};
    UniqueBitmap ledOffBitmap;
    UniqueBitmap ledGreenBitmap;
    UniqueBitmap ledRedBitmap;
    UniqueBitmap ledYellowBitmap;
    UniqueBitmap ledBlueBitmap;
    UniqueBitmap ledAmberBitmap;
    UniqueBrush brushes[6];
    Button refreshAdaptersButton;
    Button findAndConfigureButton;
    Button closeAdapterButton;
    ComboBox browserCombo;
    ComboBox choiceCombo;
    UniqueFont fonts[4];
    // The scale and orientation of the last layout pass (scale 0 before the first one).
    double laidOutScale = 0.0;
    bool laidOutStandard = true;
    UniqueBitmap bannerImage;
    ListCtrl adapterList;
    DerivedClassListCtrl instanceList;
    Rect dialogRect;
    Rect titleBarRect;
    Rect dragFlipArea;
    Rect bodyRect;
    Rect closeButtonRect;
    Rect minimizeButtonRect;
    Rect bannerSourceRect;
    Rect bannerRect;
    Rect ledLabelRect[10];
    Rect hintTextRect;
    Rect titleTextRect;
    PictureStatic instanceLed[10];
    PictureStatic searchLed;
    std::wstring selectedMacAddress;
    std::wstring instanceMacAddress;
    std::wstring ledLabel[10];
    std::wstring hintText;
    std::wstring titleText;
    std::wstring chromePath;
    std::wstring edgePath;
    std::wstring firefoxPath;
    std::wstring fileSystemFoldersPath;
    std::wstring exeDrive;
    std::vector<std::wstring> instanceAdapterNames;
    int currentInstance = 0;
    int configRowIndex = 0;
    UniqueProcessInformation processInfo[10];
    // Why the system could not create the last backend (empty after any other outcome).
    std::wstring processCreationReason;
    STARTUPINFOW startupInfo[10] = {};
    // This copy found another one running and only closes itself again.
    bool duplicateCopy = false;
    // Started with /search (set before the dialog runs): search once start-up is done, or,
    // as a duplicate copy, ask the running copy to.
    bool searchAtStartUp = false;
    // Escape closed the startup-file chooser: its close-up takes no choice.
    bool startupChoiceCancelled = false;
    // The browser chosen when the browser chooser's list dropped down; Escape goes back to it.
    int browserSelectionAtDropDown = -1;
    // The watch over backends that started well and the thread that waits on them (last,
    // so that the thread has ended before anything else of the dialog goes).
    BackendWatch backendWatch;
    BackendExitWatcher backendExitWatcher;
};
