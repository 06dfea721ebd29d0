// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListSheet.h"

#include "data/RaceStore.h"
#include "model/RaceColumns.h"
#include "model/StoredDate.h"

const QStringList &sheetHeadings()
{
    return RaceColumns::names();
}

void sheetRow(const Race &race, std::vector<SheetValue> &row)
{
    const std::vector<QVariant> stored = RaceColumns::toStored(race);
    const std::vector<RaceColumns::Kind> &kinds = RaceColumns::kinds();
    row.resize(stored.size());
    for (std::size_t c = 0; c < stored.size(); ++c) {
        const QVariant &value = stored[c];
        SheetValue &cell = row[c];
        cell.date = QDate();
        if (value.isNull()) {
            cell.kind = SheetValue::Kind::Empty;
            cell.text.clear();
            continue;
        }
        const int type = value.typeId();
        const bool number = type == QMetaType::Int || type == QMetaType::LongLong
            || type == QMetaType::Bool || type == QMetaType::Double;
        if (kinds[c] == RaceColumns::Kind::YesNo && number) {
            cell.kind = SheetValue::Kind::YesNo;
            cell.yes = value.toDouble() != 0;
            cell.text.clear();
            continue;
        }
        cell.text = value.toString();
        cell.date = kinds[c] == RaceColumns::Kind::Date ? dateOfStoredText(cell.text) : QDate();
        cell.kind = cell.date.isValid() ? SheetValue::Kind::Date : SheetValue::Kind::Text;
    }
}

int eachSheetRow(const RaceList &races,
                 const std::function<void(const std::vector<SheetValue> &row)> &each)
{
    // Its own copy: reading the list to its end must not move the window's grid.
    const RaceList list(races);
    std::vector<SheetValue> row;
    int count = 0;
    for (int r = 0; list.hasRow(r); ++r) {
        const Race race = list.race(r);
        if (race.number == 0) // deleted since the list was read
            continue;
        sheetRow(race, row);
        each(row);
        ++count;
    }
    return count;
}
