// The two list controls are the program's data store: the adapter list and the instance
// table. The core reads and writes them only through this interface, by row and column,
// as exact text; the Windows layer implements it over a list view, tests over memory.
#pragma once

#include <string>
#include <vector>

class ListTable {
public:
    virtual ~ListTable() = default;
    virtual int RowCount() const = 0;
    // Empty text for a row or column that does not exist.
    virtual std::wstring Cell(int row, int column) const = 0;
    // Does nothing for a row that does not exist.
    virtual void SetCell(int row, int column, const std::wstring& text) = 0;
    // Inserts a row at index row (clamped to the end) with its first column set, not selected.
    virtual void InsertRow(int row, const std::wstring& firstColumn) = 0;
    virtual void DeleteAllRows() = 0;
    virtual bool IsRowSelected(int row) const = 0;
    virtual void SetRowSelected(int row, bool selected) = 0;
};

// An in-memory table: the fake of the list controls in tests.
class MemoryTable : public ListTable {
public:
    explicit MemoryTable(int columns) : columns_(columns) {}
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring Cell(int row, int column) const override {
        if (!Has(row) || column < 0 || column >= columns_) return {};
        return rows_[row].cells[column];
    }
    void SetCell(int row, int column, const std::wstring& text) override {
        if (Has(row) && column >= 0 && column < columns_) rows_[row].cells[column] = text;
    }
    void InsertRow(int row, const std::wstring& firstColumn) override {
        if (row < 0 || row > RowCount()) row = RowCount();
        Row r{std::vector<std::wstring>(columns_), false};
        r.cells[0] = firstColumn;
        rows_.insert(rows_.begin() + row, r);
    }
    void DeleteAllRows() override { rows_.clear(); }
    bool IsRowSelected(int row) const override { return Has(row) && rows_[row].selected; }
    void SetRowSelected(int row, bool selected) override {
        if (Has(row)) rows_[row].selected = selected;
    }
    // Test convenience: appends a row with the given cells.
    void AddRow(const std::vector<std::wstring>& cells) {
        InsertRow(RowCount(), cells.empty() ? L"" : cells[0]);
        for (int c = 1; c < static_cast<int>(cells.size()) && c < columns_; ++c) SetCell(RowCount() - 1, c, cells[c]);
    }

private:
    struct Row {
        std::vector<std::wstring> cells;
        bool selected;
    };
    bool Has(int row) const { return row >= 0 && row < RowCount(); }
    int columns_;
    std::vector<Row> rows_;
};

// Columns of the instance table (IDC_LIST_QEL_CONFIGURATION_DATA).
enum InstanceColumn {
    colQel = 0,
    colActive = 1,
    colEthernetAdapter = 2,
    colIp = 3,
    colPort = 4,
    colNetconfSshPort = 5,
    colFsName = 6,
    colStartupFileName = 7,
    colImageSignatureType = 8,
    instanceColumnCount = 9
};

// Columns of the adapter list (IDC_LIST_ETHERNET_NETWORK_ADAPTERS).
enum AdapterColumn {
    colDescription = 0,
    colName = 1,
    colMac = 2,
    colSelected = 3,
    adapterColumnCount = 4
};

// Per-instance arrays hold exactly this many entries; rows beyond it have none.
constexpr int maxInstances = 10;
