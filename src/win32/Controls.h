// Thin wrappers of the dialog's controls, bound to members by control id.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/ListTable.h"

class Control {
public:
    void Attach(HWND window) { hwnd_ = window; }
    HWND GetSafeHwnd() const { return hwnd_; }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd_); }
    void EnableWindow(bool enable) const { ::EnableWindow(hwnd_, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    void ShowWindow(int command) const { ::ShowWindow(hwnd_, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(hwnd_, text.c_str()); }
    std::wstring GetWindowText() const;
    void SetFont(HFONT font, bool redraw = false) const {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint) const {
        ::MoveWindow(hwnd_, x, y, width, height, repaint);
    }
    // The control's rectangle in its parent's client coordinates.
    RECT GetRectInParent() const;
    void Invalidate(BOOL erase = TRUE) const { InvalidateRect(hwnd_, nullptr, erase); }
    void SetRedraw(bool redraw) const { SendMessageW(hwnd_, WM_SETREDRAW, redraw, 0); }
    void SetFocus() const { ::SetFocus(hwnd_); }
    LONG_PTR Style() const { return GetWindowLongPtrW(hwnd_, GWL_STYLE); }

protected:
    HWND hwnd_ = nullptr;
};

class Button : public Control {};

class PictureStatic : public Control {
public:
    void SetBitmap(HBITMAP bitmap) const {
        SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessageW(hwnd_, STM_GETIMAGE, IMAGE_BITMAP, 0)); }
};

class ComboBox : public Control {
public:
    void ResetContent() const { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }
    int AddString(const std::wstring& text) const {
        return static_cast<int>(SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
    void SetCurSel(int index) const { SendMessageW(hwnd_, CB_SETCURSEL, index, 0); }
    std::wstring GetLBText(int index) const;
    void ClearEditSelection() const { SendMessageW(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0)); }
    bool GetDroppedState() const { return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    void ShowDropDown(bool show) const { SendMessageW(hwnd_, CB_SHOWDROPDOWN, show, 0); }
};

// A report-view list control; it is also the table the core reads and writes.
class ListCtrl : public Control, public ListTable {
public:
    int RowCount() const override { return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring Cell(int row, int column) const override;
    void SetCell(int row, int column, const std::wstring& text) override;
    void InsertRow(int row, const std::wstring& firstColumn) override;
    void DeleteAllRows() override { SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0); }
    bool IsRowSelected(int row) const override;
    void SetRowSelected(int row, bool selected) override;

    void InsertColumn(int column, const std::wstring& heading, int format, int width) const;
    int ColumnCount() const;
    std::wstring ColumnHeading(int column) const;
    void SetColumnWidth(int column, int width) const {
        SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
    }
    int GetColumnWidth(int column) const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, column, 0)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessageW(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)); }
    void SetExtendedStyle(DWORD style) const { SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    void EnsureVisible(int row) const { SendMessageW(hwnd_, LVM_ENSUREVISIBLE, row, FALSE); }
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0)); }
    // The bounds of a cell in the list's client coordinates.
    bool GetCellRect(int row, int column, RECT& rect) const;
    int FirstSelectedRow() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
};
