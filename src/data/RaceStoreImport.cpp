// SPDX-License-Identifier: GPL-3.0-or-later
// Races taken over from another source in one go.
#include "data/RaceStore.h"

#include "model/RaceColumns.h"
#include "model/Records.h"

#include <sqlite3.h>

void RaceStore::addRaces(std::vector<Race> &races, const QStringList &raceNames)
{
    const QStringList &names = RaceColumns::names();
    const std::string insertRace
        = (QStringLiteral("insert into %1 (%2) values (?%3)")
               .arg(QLatin1String(RaceColumns::kTable), names.join(QStringLiteral(", ")),
                    QStringLiteral(", ?").repeated(names.size() - 1)))
              .toStdString();
    const PickListTable &list = pickListTable(PickList::Race);
    const std::string insertName
        = std::string("insert into ") + list.table + " (" + list.column + ") values (?)";
    std::vector<qlonglong> numbers;
    numbers.reserve(races.size());
    inTransaction(m_db, [&] {
        Statement race(m_db, insertRace);
        for (const Race &r : races) {
            int bound = 1;
            for (const QVariant &value : RaceColumns::toStored(r))
                race.bind(bound++, value);
            race.step();
            race.reset();
            numbers.push_back(sqlite3_last_insert_rowid(m_db.handle()));
        }
        Statement name(m_db, insertName);
        for (const QString &text : raceNames) {
            name.bind(1, text);
            name.step();
            name.reset();
        }
    });
    // Numbers only once the file holds the races: a failed take-over leaves them as they were.
    for (size_t i = 0; i < races.size(); ++i)
        races[i].number = numbers[i];
    changed();
}
