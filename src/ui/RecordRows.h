// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ListGrid.h"

#include <functional>
#include <optional>
#include <vector>

// The rows of a short list read whole (a pick list): the grid owns them, the window reads the
// record of a row back from them.
template<class Record> class RecordRows : public GridRows
{
public:
    using Cell = std::function<QString(const Record &, int column)>;
    RecordRows(std::vector<Record> records, Cell cell)
        : m_records(std::move(records))
        , m_cell(std::move(cell))
    {
    }
    int rowsRead() const override { return int(m_records.size()); }
    QString cell(int row, int column) const override
    {
        return m_cell(m_records[size_t(row)], column);
    }
    const Record &record(int row) const { return m_records[size_t(row)]; }

private:
    std::vector<Record> m_records;
    Cell m_cell;
};

// What the edit row of a browse/edit window does with the record it shows when it is saved.
enum class RecordEdit { None, New, Change, Delete };

// The record of the grid's current row (the first while none is chosen), or none in an empty
// list. `Rows` is the GridRows the grid shows and answers record(row).
template<class Rows>
auto currentRecord(const ListGrid &grid)
    -> std::optional<std::decay_t<decltype(std::declval<Rows>().record(0))>>
{
    const auto *rows = static_cast<const Rows *>(grid.rows());
    if (!rows || rows->rowsRead() == 0)
        return std::nullopt;
    const int row = grid.currentRow();
    return rows->record(row < 0 ? 0 : row);
}
