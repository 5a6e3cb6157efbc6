// The adapter list over the platform's real enumeration, driven by real mouse input.
// Runs where the workstation's adapters are known: tests/e2e/test_adapters_netns.sh starts
// Wine inside a network namespace with veth adapters of fixed MAC addresses and names them
// in BRISVALE_NETNS_ADAPTERS ("name=MAC;..." in the order the list must show them).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "network/AdaptersWin32.h"
#include "resource.h"

namespace {

using Names = std::vector<std::wstring>;

void PumpFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// With BRISVALE_XINPUT_DIR (a Unix folder) set, clicks are made by xdotool on the X display
// through a small hand-over: the test writes "click-N" with "x y count", the script's driver
// performs it and answers with "done-N". Otherwise they are injected with SendInput.
int inputRequests = 0;

std::wstring InputFolder() {
    const char* dir = std::getenv("BRISVALE_XINPUT_DIR");
    if (!dir || !*dir) return {};
    std::wstring folder = L"Z:";
    for (const char* c = dir; *c; ++c) folder += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return folder;
}

bool XdotoolClick(POINT screen, int times) {
    const std::wstring folder = InputFolder();
    if (folder.empty()) return false;
    const std::wstring n = std::to_wstring(++inputRequests);
    const std::string request = std::to_string(screen.x) + " " + std::to_string(screen.y) + " " + std::to_string(times) + "\n";
    const std::wstring partial = folder + L"\\partial-" + n, click = folder + L"\\click-" + n, done = folder + L"\\done-" + n;
    {
        UniqueFile f(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(f.get(), request.data(), static_cast<DWORD>(request.size()), &written, nullptr);
    }
    MoveFileW(partial.c_str(), click.c_str());
    // Keep pumping: the X events reach the windows only through this thread's message calls.
    for (int i = 0; i < 1000 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) PumpFor(10);
    return true;
}

void Click(POINT screen, int times = 1) {
    if (!XdotoolClick(screen, times)) {
        SetCursorPos(screen.x, screen.y);
        PumpFor(50);
        for (int i = 0; i < times; ++i) {
            INPUT input[2] = {};
            input[0].type = input[1].type = INPUT_MOUSE;
            input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, input, sizeof(INPUT));
            PumpFor(30);
        }
    }
    PumpFor(300);
}

POINT CentreOnScreen(HWND window, const RECT& client) {
    POINT p{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

std::vector<std::pair<std::wstring, std::wstring>> ExpectedAdapters() {
    std::vector<std::pair<std::wstring, std::wstring>> adapters;
    const char* spec = std::getenv("BRISVALE_NETNS_ADAPTERS");
    if (!spec) return adapters;
    std::string text = spec;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t eq = item.find('=');
        if (eq != std::string::npos)
            adapters.emplace_back(std::wstring(item.begin(), item.begin() + eq), std::wstring(item.begin() + eq + 1, item.end()));
        start = end + 1;
    }
    return adapters;
}

void WriteText(const std::wstring& path, const std::string& text) {
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string ReadText(const std::wstring& path) {
    char buffer[4096] = {};
    DWORD read = 0;
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ReadFile(f.get(), buffer, sizeof buffer - 1, &read, nullptr);
    return std::string(buffer, read);
}

// A live dialog over the real adapters, in a workspace of its own: a configuration file with
// four instances and the folder of instance 3 with two startup files.
class NamespaceAdapters : public ::testing::Test {
protected:
    std::vector<std::pair<std::wstring, std::wstring>> expected = ExpectedAdapters();
    std::unique_ptr<CtarnwickDlg> dlg;
    wchar_t previousDirectory[MAX_PATH] = {};
    std::wstring work, folders, instanceFolder;

    void SetUp() override {
        if (expected.size() < 3) GTEST_SKIP() << "needs BRISVALE_NETNS_ADAPTERS with three adapters or more";
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        work = std::wstring(base) + L"brisvale-netns-" + std::to_wstring(GetCurrentProcessId());
        folders = work + L"\\FileSystemFolders";
        instanceFolder = folders + L"\\FS_QEL_Instance2";
        for (const std::wstring& folder : {work, folders, instanceFolder}) CreateDirectoryW(folder.c_str(), nullptr);
        WriteText(instanceFolder + L"\\eval-trx9420.xml", "<config/>");
        WriteText(instanceFolder + L"\\B.XML", "<config/>");
        std::string config;
        for (int k = 1; k <= 4; ++k)
            config += "Instance " + std::to_string(k) + "\r\nFsName FS_QEL_Instance" + std::to_string(k - 1) +
                      "\r\nStartupFileName eval-trx9420.xml\r\n\r\n";
        WriteText(work + L"\\qel-configuration.txt", config);
        GetCurrentDirectoryW(MAX_PATH, previousDirectory);
        SetCurrentDirectoryW(work.c_str());

        SetAdapterSourceForTesting(nullptr);
        findQelDevThreadRunning_g = false;
        dlg = std::make_unique<CtarnwickDlg>();
        ASSERT_NE(dlg->CreateModeless(), nullptr);
        HWND window = dlg->GetSafeHwnd();
        SetWindowPos(window, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        PumpFor(300);

        dlg->instanceList.DeleteAllRows();
        for (int r = 0; r < 4; ++r) {
            dlg->instanceList.InsertRow(r, std::to_wstring(r + 1));
            dlg->instanceList.SetCell(r, colFsName, L"FS_QEL_Instance" + std::to_wstring(r));
            dlg->instanceList.SetCell(r, colStartupFileName, L"eval-trx9420.xml");
        }
        dlg->exeDrive = folders.substr(0, folders.find(L'\\'));
        dlg->fileSystemFoldersPath = folders.substr(folders.find(L'\\') + 1) + L"\\";
        // Narrow columns so that every cell can be reached with the mouse.
        for (int c = 0; c < instanceColumnCount; ++c) dlg->instanceList.SetColumnWidth(c, 24);
        for (int c = 0; c < adapterColumnCount; ++c) dlg->adapterList.SetColumnWidth(c, 50);
    }
    void TearDown() override {
        dlg.reset();
        findQelDevThreadRunning_g = false;
        if (work.empty()) return;
        SetCurrentDirectoryW(previousDirectory);
        for (const wchar_t* file : {L"\\eval-trx9420.xml", L"\\B.XML"}) DeleteFileW((instanceFolder + file).c_str());
        DeleteFileW((work + L"\\qel-configuration.txt").c_str());
        for (const std::wstring& folder : {instanceFolder, folders, work}) RemoveDirectoryW(folder.c_str());
    }

    void Refresh() {
        SendMessageW(dlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS, BN_CLICKED), 0);
        PumpFor(100);
    }
    POINT AdapterRow(int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(dlg->adapterList.GetSafeHwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        r.right = r.left + 40;
        return CentreOnScreen(dlg->adapterList.GetSafeHwnd(), r);
    }
    POINT InstanceCell(int row, int column) {
        RECT r{};
        dlg->instanceList.GetCellRect(row, column, r);
        return CentreOnScreen(dlg->instanceList.GetSafeHwnd(), r);
    }
    Names AdapterCells() {
        Names cells;
        for (int r = 0; r < dlg->instanceList.RowCount(); ++r) cells.push_back(dlg->instanceList.Cell(r, colEthernetAdapter));
        return cells;
    }
};

TEST_F(NamespaceAdapters, ListsTheNamespaceAdaptersNewestFirstAndRestoresTheRememberedOnes) {
    dlg->selectedMacAddress = expected[1].second;
    dlg->instanceAdapterNames = Names(10);
    dlg->instanceAdapterNames[0] = expected[2].first;
    dlg->instanceAdapterNames[1] = L"absent0";
    Refresh();

    ASSERT_EQ(dlg->adapterList.RowCount(), static_cast<int>(expected.size())) << "the loopback interface is not listed";
    for (int r = 0; r < static_cast<int>(expected.size()); ++r) {
        EXPECT_EQ(dlg->adapterList.Cell(r, colName), expected[r].first) << r;
        EXPECT_EQ(dlg->adapterList.Cell(r, colMac), expected[r].second) << r;
    }
    EXPECT_EQ(dlg->adapterList.FirstSelectedRow(), 1);
    EXPECT_EQ(GetFocus(), dlg->adapterList.GetSafeHwnd());
    EXPECT_EQ(dlg->adapterList.Cell(2, colSelected), L"Yes");
    EXPECT_EQ(AdapterCells(), (Names{expected[2].first, L"", L"", L""}));
}

TEST_F(NamespaceAdapters, MouseChoosesAnAdapterAndADoubleClickAssignsIt) {
    Refresh();
    Click(AdapterRow(2));
    ASSERT_EQ(dlg->adapterList.FirstSelectedRow(), 2) << "a click selects the adapter row";
    dlg->instanceList.SetCell(2, colEthernetAdapter, expected[0].first);

    Click(InstanceCell(1, colEthernetAdapter), 2);
    EXPECT_EQ(selectedListItem_g, 1);
    const std::wstring chosen = expected[2].first;
    EXPECT_EQ(AdapterCells(), (Names{chosen, chosen, expected[0].first, chosen}));
}

TEST_F(NamespaceAdapters, MouseOpensTheChooserOverTheCellAndClosingItWithoutAChoiceWritesNothing) {
    const std::string before = ReadText(L"qel-configuration.txt");
    const POINT cell = InstanceCell(2, colStartupFileName);
    Click(cell, 2);
    ASSERT_TRUE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_EQ(selectedListItem_g, 2);
    EXPECT_FALSE(dlg->instanceList.IsWindowEnabled());
    RECT combo{};
    GetWindowRect(dlg->choiceCombo.GetSafeHwnd(), &combo);
    EXPECT_TRUE(PtInRect(&combo, cell)) << "the chooser lies over the double-clicked cell";

    // Open the drop-down list with its arrow and close it again with a second click.
    const POINT arrow{combo.right - 4, (combo.top + combo.bottom) / 2};
    Click(arrow);
    Click(arrow);
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
    EXPECT_EQ(dlg->instanceList.Cell(2, colStartupFileName), L"eval-trx9420.xml");
    EXPECT_FALSE(dlg->repositoryResetPending[2]);
    EXPECT_EQ(ReadText(L"qel-configuration.txt"), before);
}

TEST_F(NamespaceAdapters, MouseChoiceInTheChooserReachesTheConfigurationFile) {
    Click(InstanceCell(2, colStartupFileName), 2);
    ASSERT_TRUE(dlg->choiceCombo.IsWindowVisible());
    ASSERT_EQ(dlg->choiceCombo.GetCount(), 2);  // B.XML, eval-trx9420.xml
    RECT combo{};
    GetWindowRect(dlg->choiceCombo.GetSafeHwnd(), &combo);
    Click({combo.right - 4, (combo.top + combo.bottom) / 2});
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(dlg->choiceCombo.GetSafeHwnd(), &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList)) << "the drop-down list is open";
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    Click(CentreOnScreen(info.hwndList, item));

    EXPECT_EQ(dlg->choiceCombo.GetCurSel(), 0);
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
    // The new name is in instance 3's block, in the cell, and its repository is marked.
    const std::string file = ReadText(L"qel-configuration.txt");
    ASSERT_NE(file.find("StartupFileName B.XML"), std::string::npos);
    EXPECT_LT(file.find("Instance 3"), file.find("StartupFileName B.XML"));
    EXPECT_GT(file.find("Instance 4"), file.find("StartupFileName B.XML"));
    EXPECT_EQ(dlg->instanceList.Cell(2, colStartupFileName), L"B.XML");
    EXPECT_TRUE(dlg->repositoryResetPending[2]);
}

}  // namespace
