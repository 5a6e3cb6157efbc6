#include "win32/Controls.h"

#include <vector>

std::wstring Control::GetWindowText() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(length + 1, L'\0');
    text.resize(::GetWindowTextW(hwnd_, text.data(), length + 1));
    return text;
}

RECT Control::GetRectInParent() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ComboBox::GetLBText(int index) const {
    const LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring ListCtrl::Cell(int row, int column) const {
    // Grow the buffer until the text fits; the control truncates silently otherwise.
    for (size_t size = 256;; size *= 4) {
        std::vector<wchar_t> buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const LRESULT length = SendMessageW(hwnd_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(length) + 1 < size || size >= (1u << 20)) return std::wstring(buffer.data(), static_cast<size_t>(length));
    }
}

void ListCtrl::SetCell(int row, int column, const std::wstring& text) {
    if (row < 0 || row >= RowCount()) return;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void ListCtrl::InsertRow(int row, const std::wstring& firstColumn) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = row;
    item.stateMask = LVIS_SELECTED;
    item.pszText = const_cast<wchar_t*>(firstColumn.c_str());
    SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool ListCtrl::IsRowSelected(int row) const {
    return (SendMessageW(hwnd_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListCtrl::SetRowSelected(int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ListCtrl::InsertColumn(int column, const std::wstring& heading, int format, int width) const {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.iSubItem = column;
    col.pszText = const_cast<wchar_t*>(heading.c_str());
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
}

int ListCtrl::ColumnCount() const {
    return static_cast<int>(SendMessageW(GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0));
}

std::wstring ListCtrl::ColumnHeading(int column) const {
    wchar_t buffer[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 256;
    if (!SendMessageW(GetHeaderCtrl(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item))) return {};
    return buffer;
}

bool ListCtrl::GetCellRect(int row, int column, RECT& rect) const {
    rect = {};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    return SendMessageW(hwnd_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) != 0;
}
