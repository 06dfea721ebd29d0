// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/RecordErrors.h"
#include "ui/ListGrid.h"

#include <functional>
#include <optional>
#include <vector>

// The browse/edit pattern of the windows that keep a list: a grid of the records above, one
// record in edit fields below, four commands (new, change, delete, copy) and a save button.

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

// What the edit row of a browse/edit window does with the record it shows when it is saved.
enum class RecordEdit { None, New, Change, Delete };

// The four commands of a browse/edit window, in the order of their buttons.
enum class ListCommand { New, Change, Delete, Copy };

// The record side of a browse/edit window: which command is pending and the record it started
// from. `Record` has a `number` that finds it in its store.
template<class Record> class RecordEditing
{
public:
    using ReadStored = std::function<std::optional<Record>(qlonglong number)>;

    // Starts a command on the current record (none in an empty list) and returns what the edit
    // fields show: an empty record for New; for Change the record as the file holds it now
    // (DbError RecordDeleted when it is gone); the current record for Delete and Copy. None when
    // the command finds no record to work on; nothing is pending then.
    std::optional<Record> begin(ListCommand command, const std::optional<Record> &current,
                                const ReadStored &readStored)
    {
        m_edit = RecordEdit::None;
        m_asRead = Record {};
        if (command == ListCommand::New) {
            m_edit = RecordEdit::New;
            return m_asRead;
        }
        if (!current)
            return std::nullopt;
        m_asRead = *current;
        if (command == ListCommand::Change) {
            const auto stored = readStored(current->number);
            if (!stored)
                throw recordDeletedError();
            m_asRead = *stored;
        }
        m_edit = command == ListCommand::Change ? RecordEdit::Change
            : command == ListCommand::Delete    ? RecordEdit::Delete
                                                : RecordEdit::New;
        return m_asRead;
    }
    void end() { m_edit = RecordEdit::None; }

    RecordEdit pending() const { return m_edit; }
    // The record the command started from (Change: as read, for the check before writing).
    const Record &asRead() const { return m_asRead; }
    // After a write was refused because the record changed elsewhere: the next save writes
    // over what is stored now.
    void readAgain(const ReadStored &readStored)
    {
        if (const auto stored = readStored(m_asRead.number))
            m_asRead = *stored;
    }

private:
    RecordEdit m_edit = RecordEdit::None;
    Record m_asRead {};
};
