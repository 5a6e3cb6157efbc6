// The fair baseline of the start-up benchmark: what any program showing the main window's
// content pays under Wine, done the plain way. It creates the program's four fonts as the
// program does (Calibri 15 and 25 bold, Arial 14, Consolas 13), fills two report list
// views (the program's extended styles) with the texts of a fresh workspace: the adapter
// list with one adapter, the instance table with its nine headings and the ten default
// instances, and paints the window's title and LED captions with the Calibri fonts and the
// captions of two of its buttons with the Arial font. It ends with Alt+F4.
// Built twice: on a template with the two list views alone (populated_dialog), and on the
// program's own main dialog template with all its controls (populated_full_dialog,
// TEMPLATE_ID 102), which shows what the program's controls alone cost.
#include <windows.h>
#include <commctrl.h>

#include <string>

#ifndef TEMPLATE_ID
#define TEMPLATE_ID 100
#endif

namespace {

constexpr DWORD listExtendedStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
constexpr int width = 850, height = 550;

HFONT fonts[4];

HFONT CreateProgramFont(int height, int weight, const wchar_t* face) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, face);
}

void AddColumns(HWND list, const wchar_t* const* headings, int count, int format) {
    for (int c = 0; c < count; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = format;
        column.cx = 50;
        column.pszText = const_cast<wchar_t*>(headings[c]);
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
}

void AddRow(HWND list, int row, const std::wstring* cells, int count) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c < count; ++c) {
        item.iSubItem = c;
        item.pszText = const_cast<wchar_t*>(cells[c].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
}

void FitColumns(HWND list, int count) {
    for (int c = 0; c < count; ++c) SendMessageW(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
}

void Fill(HWND dialog) {
    fonts[0] = CreateProgramFont(15, FW_BOLD, L"Calibri");
    fonts[1] = CreateProgramFont(25, FW_BOLD, L"Calibri");
    fonts[2] = CreateProgramFont(14, FW_NORMAL, L"Arial");
    fonts[3] = CreateProgramFont(13, FW_NORMAL, L"Consolas");

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    MoveWindow(dialog, desktop.right - width - 10, 10, width, height, FALSE);

    HWND adapters = GetDlgItem(dialog, 1000), instances = GetDlgItem(dialog, 1001);
    MoveWindow(adapters, 40, 35, 805, 100, FALSE);
    MoveWindow(instances, 40, 168, 805, 200, FALSE);

    const wchar_t* adapterHeadings[] = {L"Description", L"Name", L"MAC", L"Selected"};
    SendMessageW(adapters, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[3]), FALSE);
    AddColumns(adapters, adapterHeadings, 4, LVCFMT_LEFT);
    SendMessageW(adapters, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, listExtendedStyles);
    const std::wstring adapter[] = {L"Intel(R) Ethernet Connection I219-LM", L"Ethernet", L"00-15-5D-0A-1B-2C", L""};
    AddRow(adapters, 0, adapter, 4);
    FitColumns(adapters, 4);

    const wchar_t* instanceHeadings[] = {L"QEL",     L"Active",           L"Ethernet Adapter",
                                         L"IP",      L"Port",             L"NETCONF SSH Port",
                                         L"FS Name", L"Startup File Name", L"Image Signature Type"};
    SendMessageW(instances, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[3]), FALSE);
    AddColumns(instances, instanceHeadings, 9, LVCFMT_CENTER);
    SendMessageW(instances, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, listExtendedStyles);
    for (int k = 0; k < 10; ++k) {
        const std::wstring row[] = {std::to_wstring(k + 1), L"No", L"", L"127.0.0.1", std::to_wstring(50000 + k),
                                    std::to_wstring(k == 0 ? 830 : 50830 + k), L"FS_QEL_Instance" + std::to_wstring(k),
                                    L"eval-trx9420.xml", L"development"};
        AddRow(instances, k, row, 9);
    }
    FitColumns(instances, 9);
}

void Paint(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    RECT client{};
    GetClientRect(dialog, &client);
    HBRUSH panel = CreateSolidBrush(RGB(153, 176, 208));
    FillRect(dc, &client, panel);
    DeleteObject(panel);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, fonts[1]);
    RECT title{40, 0, 800, 25};
    DrawTextW(dc, L"brisvale", -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, fonts[0]);
    for (int k = 0; k < 10; ++k) {
        const std::wstring label = L"QEL " + std::to_wstring(k + 1);
        RECT r{48 + k * 85, 422, 82 + k * 85, 438};
        DrawTextW(dc, label.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, fonts[2]);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT refresh{40, 140, 250, 162}, find{40, 373, 250, 395};
    DrawTextW(dc, L"Refresh Ethernet Network Adapters", -1, &refresh, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    DrawTextW(dc, L"Find And Configure QEL Devices", -1, &find, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(dialog, &ps);
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            Fill(dialog);
            return TRUE;
        case WM_PAINT:
            Paint(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(TEMPLATE_ID), nullptr, Procedure, 0);
    for (HFONT font : fonts) DeleteObject(font);
    return static_cast<int>(result);
}
