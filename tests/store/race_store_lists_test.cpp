// SPDX-License-Identifier: GPL-3.0-or-later
// The race store's reads against what the program read before the store existed, on the
// edge-case databases. expected_lists.txt was written by the earlier reads and is kept as it
// is: it states the rows and the order every list must keep.
#include "EdgeCaseRaces.h"

#include "data/RaceStore.h"
#include "model/RaceColumns.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace EdgeCaseRaces;

namespace {

QString numbers(const RaceList &list)
{
    QList<qlonglong> listed;
    for (int row = 0; list.hasRow(row); ++row)
        listed << list.number(row);
    return numberLine(listed);
}

QString storedLine(const Race &race, bool withNumber)
{
    QStringList cells;
    if (withNumber)
        cells << QString::number(race.number);
    for (const QVariant &v : RaceColumns::toStored(race))
        cells << cell(v);
    return line(cells);
}

// The statistics read only what they show.
const QStringList kStatisticsColumns
    = { "ad_lauf", "ad_lauf_ort",    "ad_lauf_datum", "ad_strecke",
        "ad_zeit", "ad_gelaufen_jn", "ad_ang_jn",     "ad_vorgemerkt_jn" };

QString statisticsLine(const Race &r)
{
    return line({ textCell(r.name), textCell(r.place), textCell(r.date.stored()),
                  textCell(r.distance), textCell(r.finishTime), flagCell(r.run.isSet()),
                  flagCell(r.registered.isSet()), flagCell(r.noted.isSet()) });
}

QString calendarLine(const Race &r)
{
    QStringList cells { QString::number(r.number) };
    for (const QString &t : { r.name, r.place, r.date.stored(), r.start, r.distance, r.finishTime,
                              r.organiser.name, r.organiser.web, r.notes, r.fees.thirdDistance })
        cells << textCell(t);
    for (const StoredDate &d : r.fees.deadlines)
        cells << textCell(d.stored());
    for (const auto &deadline : r.fees.fees)
        for (const QString &t : deadline)
            cells << textCell(t);
    for (const QString &t :
         { r.reminderDate.stored(), r.paidDate.stored(), r.registrationDate.stored(),
           r.organiser.bank, r.organiser.bankCode, r.organiser.account })
        cells << textCell(t);
    for (const Flag *f : { &r.registered, &r.noted, &r.run, &r.paid, &r.reminder })
        cells << flagCell(f->isSet());
    return line(cells);
}

void readAll(const QString &db, RaceStore &store, Results &results)
{
    for (const QDate &today : todays()) {
        const QString at = db + u' ' + today.toString(QStringLiteral("dd.MM.yyyy"));
        for (const ListCase &c : listCases()) {
            RaceListFilter filter { c.future, c.past, std::nullopt };
            if (c.option >= 0)
                filter.option = RaceSelection(c.option);
            results[at + QStringLiteral(" list ") + c.key()] << numbers(store.list(filter, today));
        }
        results[at + QStringLiteral(" start screen")] << numbers(store.startScreenRaces(today));
        results[at + QStringLiteral(" reminders")] << numbers(store.dueReminders(today));
    }
    store.readRaces(RaceStore::Order::ByNumber, false, [&](const Race &race) {
        results[db + QStringLiteral(" rows")] << storedLine(race, true);
        results[db + QStringLiteral(" calendar")] << calendarLine(race);
    });
    store.readRaces(
        RaceStore::Order::ByNumber, true,
        [&](const Race &race) {
            results[db + QStringLiteral(" statistics")] << statisticsLine(race);
        },
        kStatisticsColumns);
    store.readRaces(RaceStore::Order::LatestFirst, false, [&](const Race &race) {
        results[db + QStringLiteral(" export")] << storedLine(race, false);
    });
    for (qlonglong owner : documentOwners()) {
        QStringList &lines = results[db + QStringLiteral(" documents ") + QString::number(owner)];
        for (const DocumentLink &link : store.documents(owner))
            lines << line({ QString::number(link.number), textCell(link.raceNumber),
                            textCell(link.path), textCell(link.name) });
    }
}

TEST(RaceStoreLists, EveryReadGivesTheRowsAndOrderOfTheEarlierReads)
{
    const Results expected
        = read(QStringLiteral(STRIVO_SOURCE_DIR "/tests/store/expected_lists.txt"));
    ASSERT_FALSE(expected.empty());

    QTemporaryDir dir;
    Results results;
    forEachDatabase(dir.path(), [&](const QString &db, const QString &path) {
        RaceStore store(path);
        readAll(db, store, results);
    });

    // Every read the file names, and no other.
    for (const auto &[key, lines] : expected) {
        const auto found = results.find(key);
        ASSERT_NE(found, results.end()) << key.toStdString();
        ASSERT_EQ(found->second.size(), lines.size()) << key.toStdString();
        for (qsizetype i = 0; i < lines.size(); ++i)
            EXPECT_EQ(found->second[i].toStdString(), lines[i].toStdString())
                << key.toStdString() << " line " << i;
    }
    for (const auto &[key, lines] : results)
        EXPECT_TRUE(expected.count(key)) << "not in the file: " << key.toStdString();
}

} // namespace
