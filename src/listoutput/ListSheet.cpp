// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListSheet.h"

#include "data/RaceStore.h"
#include "data/StoredCell.h"
#include "model/RaceColumns.h"
#include "model/StoredDate.h"

const QStringList &sheetHeadings()
{
    return RaceColumns::names();
}

int eachSheetRow(const RaceList &races,
                 const std::function<void(const std::vector<SheetValue> &row)> &each)
{
    const std::vector<RaceColumns::Kind> &kinds = RaceColumns::kinds();
    std::vector<SheetValue> values(kinds.size());
    std::vector<std::string> converted(kinds.size());
    int count = 0;
    // Its own copy: reading the list to its end must not move the window's grid, whose list
    // keeps what it has read in itself.
    const RaceList list(races); // NOLINT(performance-unnecessary-copy-initialization)
    list.readStoredRows([&](const Statement &row) {
        for (std::size_t c = 0; c < kinds.size(); ++c) {
            const int column = int(c) + 1;
            SheetValue &v = values[c];
            v.date = QDate();
            v.utf8 = {};
            const StoredCell cell = storedCell(row, column, kinds[c] == RaceColumns::Kind::YesNo);
            if (cell.kind == StoredCell::Kind::Empty) {
                v.kind = SheetValue::Kind::Empty;
                continue;
            }
            if (cell.kind == StoredCell::Kind::Truth) {
                v.kind = SheetValue::Kind::YesNo;
                v.yes = cell.yes;
                continue;
            }
            if (cell.kind == StoredCell::Kind::Bytes) {
                v.utf8 = cell.bytes;
            } else {
                converted[c] = row.column(column).toString().toStdString();
                v.utf8 = converted[c];
            }
            if (kinds[c] == RaceColumns::Kind::Date)
                v.date = dateOfStoredText(v.utf8);
            v.kind = v.date.isValid() ? SheetValue::Kind::Date : SheetValue::Kind::Text;
        }
        each(values);
        ++count;
    });
    return count;
}
