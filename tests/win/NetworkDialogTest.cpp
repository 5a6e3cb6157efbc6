// The adapter list and the instance table editing on a live main dialog: real list views,
// the real message routing, a chooser filled from a real folder.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/CtarnwickDlgWin32.h"
#include "app/SharedGlobals.h"
#include "supervision/SearchState.h"
#include "network/AdaptersWin32.h"
#include "resource.h"

namespace {

using Names = std::vector<std::wstring>;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

AdapterRecord Ethernet(const std::wstring& name, unsigned char last) {
    AdapterRecord r;
    r.interfaceType = 6;
    r.friendlyName = name;
    r.description = name + L" adapter";
    const unsigned char mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, last};
    for (int i = 0; i < 6; ++i) r.physicalAddress[i] = mac[i];
    r.physicalAddressLength = 6;
    return r;
}

class ListedAdapters : public AdapterSource {
public:
    std::vector<AdapterRecord> adapters;
    AdapterQueryResult Query(unsigned long&, std::vector<AdapterRecord>& out) override {
        out = adapters;
        return AdapterQueryResult::success;
    }
};

std::wstring TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"brisvale-network-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
}

std::string ReadText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &found));
    }
    find.reset();
    RemoveDirectoryW(folder.c_str());
}

// A live main dialog in a working directory of its own, with known adapters and a known
// instance table.
class NetworkDialog : public ::testing::Test {
protected:
    std::wstring work;
    wchar_t previousDirectory[MAX_PATH] = {};
    ListedAdapters source;
    std::unique_ptr<CtarnwickDlg> dlg;

    void SetUp() override {
        work = TempFolder();
        GetCurrentDirectoryW(MAX_PATH, previousDirectory);
        SetCurrentDirectoryW(work.c_str());
        // Blocks for instances 1 to 3, so that an update of the startup file has lines to rewrite.
        std::string config;
        for (int k = 1; k <= 3; ++k)
            config += "Instance " + std::to_string(k) + "\r\nFsName FS_QEL_Instance" + std::to_string(k - 1) +
                      "\r\nStartupFileName eval-trx9420.xml\r\n\r\n";
        WriteText(L"qel-configuration.txt", config);

        source.adapters = {Ethernet(L"Ethernet", 0x0a), Ethernet(L"Ethernet 2", 0x0b), Ethernet(L"Ethernet 3", 0x0c)};
        SetAdapterSourceForTesting(&source);
        findQelDevThreadRunning_g = false;
        dlg = std::make_unique<CtarnwickDlg>();
        ASSERT_NE(dlg->CreateModeless(), nullptr);
        ShowWindow(dlg->GetSafeHwnd(), SW_SHOW);
        Pump();  // the start-up event enumerates once
        // Whatever the prefix's registry remembers plays no part here.
        dlg->selectedMacAddress.clear();
        dlg->instanceAdapterNames = Names(10);

        // A known table, whatever the start-up read.
        dlg->instanceList.DeleteAllRows();
        for (int r = 0; r < 5; ++r) {
            dlg->instanceList.InsertRow(r, std::to_wstring(r + 1));
            dlg->instanceList.SetCell(r, colFsName, L"FS_QEL_Instance" + std::to_wstring(r));
            dlg->instanceList.SetCell(r, colStartupFileName, L"eval-trx9420.xml");
        }
        for (int i = 0; i < 10; ++i) dlg->repositoryResetPending[i] = false;
    }

    void TearDown() override {
        dlg.reset();
        SetAdapterSourceForTesting(nullptr);
        findQelDevThreadRunning_g = false;
        SetCurrentDirectoryW(previousDirectory);
        RemoveTree(work);
    }

    HWND Dlg() const { return dlg->GetSafeHwnd(); }

    void Refresh() {
        SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dlg->refreshAdaptersButton.GetSafeHwnd()));
    }

    LRESULT DoubleClick(int listId, int row, int column) {
        NMITEMACTIVATE activate{};
        activate.hdr.hwndFrom = GetDlgItem(Dlg(), listId);
        activate.hdr.idFrom = static_cast<UINT_PTR>(listId);
        activate.hdr.code = NM_DBLCLK;
        activate.iItem = row;
        activate.iSubItem = column;
        return SendMessageW(Dlg(), WM_NOTIFY, listId, reinterpret_cast<LPARAM>(&activate));
    }

    // The chooser's list closes without a key: it rolls up and notifies the dialog.
    void CloseUp() {
        if (dlg->choiceCombo.GetDroppedState())
            dlg->choiceCombo.ShowDropDown(false);
        else
            SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_COMBO_CHOICE, CBN_CLOSEUP),
                         reinterpret_cast<LPARAM>(dlg->choiceCombo.GetSafeHwnd()));
    }

    // A key pressed in a combo box's edit field, through the dialog's own message loop.
    void KeyIn(const ComboBox& combo, WPARAM key) {
        MSG msg{};
        msg.hwnd = FindWindowExW(combo.GetSafeHwnd(), nullptr, L"Edit", nullptr);
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        const bool keptBack = dlg->PreTranslateMessage(&msg) != FALSE;
        if (!keptBack) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Pump();
    }

    Names Column(const ListTable& t, int column) const {
        Names cells;
        for (int r = 0; r < t.RowCount(); ++r) cells.push_back(t.Cell(r, column));
        return cells;
    }

    Names ChooserEntries() const {
        Names entries;
        for (int i = 0; i < dlg->choiceCombo.GetCount(); ++i) entries.push_back(dlg->choiceCombo.GetLBText(i));
        return entries;
    }

    void MakeInstanceFolder(const std::wstring& fsName) {
        // The folders lie in FileSystemFolders of the working directory; the drive is cut off
        // as the folder lookup does it.
        const std::wstring folders = work + L"\\FileSystemFolders";
        CreateDirectoryW(folders.c_str(), nullptr);
        const std::wstring folder = folders + L"\\" + fsName;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"eval-trx9420.xml", L"B.XML", L"notes.txt", L"a.Xml"})
            WriteText(folder + L"\\" + name, "<config/>");
        CreateDirectoryW((folder + L"\\old.xml").c_str(), nullptr);
        const size_t slash = folders.find(L'\\');
        dlg->exeDrive = folders.substr(0, slash);
        dlg->fileSystemFoldersPath = folders.substr(slash + 1) + L"\\";
    }
};

TEST_F(NetworkDialog, RefreshListsAdaptersNewestFirstAndRestoresTheRememberedChoices) {
    dlg->selectedMacAddress = L"02-00-00-00-00-0B";
    dlg->instanceAdapterNames = Names(10);
    dlg->instanceAdapterNames[0] = L"Ethernet 2";
    dlg->instanceAdapterNames[2] = L"Ethernet 2";
    dlg->instanceAdapterNames[3] = L"Ethernet 9";
    Refresh();

    EXPECT_EQ(Column(dlg->adapterList, colName), (Names{L"Ethernet 3", L"Ethernet 2", L"Ethernet"}));
    EXPECT_EQ(Column(dlg->adapterList, colDescription),
              (Names{L"Ethernet 3 adapter", L"Ethernet 2 adapter", L"Ethernet adapter"}));
    EXPECT_EQ(Column(dlg->adapterList, colMac), (Names{L"02-00-00-00-00-0C", L"02-00-00-00-00-0B", L"02-00-00-00-00-0A"}));
    EXPECT_EQ(Column(dlg->adapterList, colSelected), (Names{L"", L"Yes", L""}));
    EXPECT_EQ(dlg->adapterList.FirstSelectedRow(), 1);
    EXPECT_EQ(GetFocus(), dlg->adapterList.GetSafeHwnd());
    EXPECT_EQ(Column(dlg->instanceList, colEthernetAdapter), (Names{L"Ethernet 2", L"", L"Ethernet 2", L"", L""}));

    // The user gives instance 1 another adapter; a refresh brings the remembered one back.
    dlg->instanceList.SetCell(0, colEthernetAdapter, L"Ethernet 3");
    dlg->adapterList.SetRowSelected(1, false);
    Refresh();
    EXPECT_EQ(dlg->instanceList.Cell(0, colEthernetAdapter), L"Ethernet 2");
    EXPECT_EQ(dlg->adapterList.FirstSelectedRow(), 1);
}

TEST_F(NetworkDialog, AdapterCellDoubleClickGivesTheSelectedAdapterToRowAndEmptyCells) {
    Refresh();
    // A double-click on the adapter list and the hidden button change nothing.
    EXPECT_EQ(DoubleClick(IDC_LIST_ETHERNET_NETWORK_ADAPTERS, 0, 1), 0);
    SendMessageW(Dlg(), WM_COMMAND, MAKEWPARAM(IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER, BN_CLICKED), 0);
    EXPECT_EQ(dlg->adapterList.FirstSelectedRow(), -1);
    EXPECT_FALSE(dlg->closeAdapterButton.IsWindowVisible());
    dlg->instanceList.SetCell(2, colEthernetAdapter, L"Ethernet 3");
    dlg->instanceList.SetCell(3, colEthernetAdapter, L"Ethernet 3");
    dlg->instanceList.SetCell(1, colEthernetAdapter, L"Ethernet 3");
    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 1, colEthernetAdapter);  // nothing selected yet
    EXPECT_EQ(Column(dlg->instanceList, colEthernetAdapter),
              (Names{L"", L"Ethernet 3", L"Ethernet 3", L"Ethernet 3", L""}));

    dlg->adapterList.SetRowSelected(1, true);  // Ethernet 2
    findQelDevThreadRunning_g = true;
    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 1, colEthernetAdapter);
    EXPECT_EQ(dlg->instanceList.Cell(1, colEthernetAdapter), L"Ethernet 3");
    findQelDevThreadRunning_g = false;

    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 1, colEthernetAdapter);
    EXPECT_EQ(Column(dlg->instanceList, colEthernetAdapter),
              (Names{L"Ethernet 2", L"Ethernet 2", L"Ethernet 3", L"Ethernet 3", L"Ethernet 2"}));
    EXPECT_EQ(selectedListItem_g, 1);
    // The remembered names and the adapter marks stay as they were.
    EXPECT_EQ(Column(dlg->adapterList, colSelected), Names(3));
}

TEST_F(NetworkDialog, StartupFileChooserOpensOverTheCellWithTheFolderFiles) {
    MakeInstanceFolder(L"FS_QEL_Instance2");
    dlg->choiceCombo.AddString(L"left over");
    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 2, colStartupFileName);

    EXPECT_EQ(selectedListItem_g, 2);
    EXPECT_EQ(ChooserEntries(), (Names{L"B.XML", L"eval-trx9420.xml", L"old.xml"}));
    EXPECT_EQ(dlg->choiceCombo.GetCurSel(), 1) << "the current file";
    EXPECT_TRUE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->choiceCombo.GetDroppedState()) << "opened dropped down";
    EXPECT_FALSE(dlg->instanceList.IsWindowEnabled());
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == dlg->choiceCombo.GetSafeHwnd() || IsChild(dlg->choiceCombo.GetSafeHwnd(), focus));

    RECT cell{};
    ASSERT_TRUE(dlg->instanceList.GetCellRect(2, colStartupFileName, cell));
    const RECT list = dlg->instanceList.GetRectInParent();
    const RECT combo = dlg->choiceCombo.GetRectInParent();
    EXPECT_EQ(combo.left, list.left + cell.left + 2);
    EXPECT_EQ(combo.top, list.top + cell.top);
    EXPECT_GE(combo.right - combo.left, cell.right - cell.left);

    // Closing the list without a choice writes nothing.
    const std::string before = ReadText(L"qel-configuration.txt");
    CloseUp();
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
    EXPECT_EQ(dlg->instanceList.Cell(2, colStartupFileName), L"eval-trx9420.xml");
    EXPECT_EQ(ReadText(L"qel-configuration.txt"), before);
    EXPECT_FALSE(dlg->repositoryResetPending[2]);
}

TEST_F(NetworkDialog, StartupFileChooserIsRefusedDuringASearchAndEmptyWithoutAFolder) {
    MakeInstanceFolder(L"FS_QEL_Instance2");
    findQelDevThreadRunning_g = true;
    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 2, colStartupFileName);
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
    findQelDevThreadRunning_g = false;

    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 7, colStartupFileName);  // below the last row
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_EQ(selectedListItem_g, 7);

    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 4, colStartupFileName);  // FS_QEL_Instance4 does not exist
    EXPECT_TRUE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_EQ(dlg->choiceCombo.GetCount(), 0);
    CloseUp();
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
}

TEST_F(NetworkDialog, EnterAndEscapeInsideTheChoosersNeverReachTheDialog) {
    MakeInstanceFolder(L"FS_QEL_Instance2");
    const std::string before = ReadText(L"qel-configuration.txt");

    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 2, colStartupFileName);
    KeyIn(dlg->choiceCombo, VK_UP);  // B.XML highlighted
    KeyIn(dlg->choiceCombo, VK_ESCAPE);
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_TRUE(dlg->instanceList.IsWindowEnabled());
    EXPECT_EQ(dlg->instanceList.Cell(2, colStartupFileName), L"eval-trx9420.xml");
    EXPECT_EQ(ReadText(L"qel-configuration.txt"), before);
    EXPECT_FALSE(dlg->repositoryResetPending[2]);

    DoubleClick(IDC_LIST_QEL_CONFIGURATION_DATA, 2, colStartupFileName);
    EXPECT_EQ(dlg->choiceCombo.GetCurSel(), 1) << "Escape chose nothing before";
    KeyIn(dlg->choiceCombo, VK_UP);
    KeyIn(dlg->choiceCombo, VK_RETURN);
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_FALSE(dlg->choiceCombo.IsWindowVisible());
    EXPECT_EQ(dlg->instanceList.Cell(2, colStartupFileName), L"B.XML");
    EXPECT_NE(ReadText(L"qel-configuration.txt").find("StartupFileName B.XML"), std::string::npos);
    EXPECT_TRUE(dlg->repositoryResetPending[2]);

    // The browser chooser: only while its list is dropped down.
    dlg->browserCombo.ResetContent();
    dlg->browserCombo.AddString(L"Chrome");
    dlg->browserCombo.AddString(L"Firefox");
    dlg->browserCombo.SetCurSel(0);
    dlg->browserCombo.SetFocus();
    for (const WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
        dlg->browserCombo.ShowDropDown(true);
        KeyIn(dlg->browserCombo, VK_DOWN);
        EXPECT_EQ(dlg->browserCombo.GetCurSel(), 1) << key;
        KeyIn(dlg->browserCombo, key);
        EXPECT_FALSE(dlg->IsEnded());
        EXPECT_FALSE(dlg->browserCombo.GetDroppedState()) << key;
        EXPECT_EQ(dlg->browserCombo.GetLBText(dlg->browserCombo.GetCurSel()), key == VK_ESCAPE ? L"Chrome" : L"Firefox");
        dlg->browserCombo.SetCurSel(0);
    }
}

}  // namespace
