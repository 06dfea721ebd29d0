#include "TestFolder.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 5, 7);

QList<qlonglong> numbersOf(const RaceList &list)
{
    QList<qlonglong> numbers;
    for (int row = 0; list.hasRow(row); ++row)
        numbers << list.number(row);
    return numbers;
}

RaceListFilter futureRaces()
{
    return { true, false, std::nullopt };
}

// Every list of the main window: each time filter with each option, the start screen's and the
// reminders'.
QList<QList<qlonglong>> everyList(const TestFolder &folder)
{
    RaceStore store(folder.dbPath());
    QList<QList<qlonglong>> lists { numbersOf(store.startScreenRaces(kToday)),
                                    numbersOf(store.dueReminders(kToday)) };
    for (int future = 0; future < 2; ++future)
        for (int past = 0; past < 2; ++past)
            for (int option = -1; option <= 5; ++option) {
                RaceListFilter filter { future == 1, past == 1, std::nullopt };
                if (option >= 0)
                    filter.option = RaceSelection(option);
                lists << numbersOf(store.list(filter, kToday));
            }
    return lists;
}

// Races whose dates and flags cover what a list must get right: damaged and impossible dates,
// 29.02. in leap and common years, the year 0000 (no date for the program), dates before 1900
// and after 2099, today, several races on one day, empty and missing names.
void addEdgeCases(const TestFolder &folder)
{
    const QStringList dates
        = { "07.05.2026", "06.05.2026", "08.05.2026", "29.02.2024", "29.02.2023", "31.04.2026",
            "00.01.2026", "01.13.2026", "01.01.0000", "01.01.0001", "31.12.1899", "01.01.1900",
            "15.06.1850", "01.01.2100", "24.12.2199", "31.12.9999", "",           "Ja",
            "2026-05-07", "07.05.26",   "07.05.2026", "07.05.2026", "1.1.2000x",  "  .  .    " };
    const QStringList names = { "Stadtlauf", "", "Ärztelauf", "Zielsprint" };
    int i = 0;
    for (const QString &date : dates) {
        for (const QString &name : names) {
            QVariantMap race { { "ad_lauf", name },
                               { "ad_lauf_datum", date },
                               { "ad_ang_jn", i % 2 },
                               { "ad_vorgemerkt_jn", i % 3 == 0 },
                               { "ad_gelaufen_jn", i % 4 == 0 ? "Ja" : " " },
                               { "ad_bezahlt_jn", i % 5 == 0 ? "Ja" : "" },
                               { "ad_alarm_jn", i % 2 == 0 ? "Ja" : " " },
                               { "ad_alarm_datum", i % 7 == 0 ? "01.01.1900" : dates[i % 6] },
                               { "ad_startbild_jn", i % 3 != 1 } };
            if (i % 11 == 0)
                race.remove("ad_lauf"); // no name at all
            if (i % 13 == 0)
                race.remove("ad_lauf_datum");
            folder.addRace(race);
            ++i;
        }
    }
}

} // namespace

TEST(RaceDateIndex, ListsWithTheIndexEqualThoseWithoutItRowForRowOnDamagedDates)
{
    TestFolder folder;
    addEdgeCases(folder);
    const QList<QList<qlonglong>> before = everyList(folder);
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        RaceDateIndex::ensure(db);
        RaceDateIndex::ensure(db); // a second start leaves it alone
        EXPECT_EQ(db.scalar("select count(*) from sqlite_master where type = 'index'").toInt(), 1);
    }
    EXPECT_EQ(everyList(folder), before);
    // Something to compare: the future list holds races, but not all of them.
    const int future = int(RaceStore(folder.dbPath()).list(futureRaces(), kToday).count());
    EXPECT_GT(future, 10);
    EXPECT_LT(future, folder.count(QStringLiteral("adressen")) / 2);
}

TEST(RaceDateIndex, ADateTheKeyMissesButTheLenientReadingKeepsItsPlace)
{
    TestFolder folder;
    addEdgeCases(folder);
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        RaceDateIndex::ensure(db);
        EXPECT_FALSE(RaceDateIndex::hasIrregularDates(db));
    }
    const qlonglong shortForm
        = folder.addRace({ { "ad_lauf", "Kurz" }, { "ad_lauf_datum", "9.5.2026" } });
    const qlonglong withDay
        = folder.addRace({ { "ad_lauf", "Lang" }, { "ad_lauf_datum", " 10.05.2026, Sonntag" } });
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        EXPECT_TRUE(RaceDateIndex::hasIrregularDates(db));
    }
    const QList<qlonglong> future
        = numbersOf(RaceStore(folder.dbPath()).list(futureRaces(), kToday));
    EXPECT_TRUE(future.contains(shortForm));
    EXPECT_LT(future.indexOf(withDay), future.indexOf(shortForm)) << "latest first";
}

TEST(RaceDateIndex, TheFileWithTheIndexStaysReadableByPlainSqlite)
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty())
        GTEST_SKIP() << "sqlite3 not installed";
    TestFolder folder;
    addEdgeCases(folder);
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        RaceDateIndex::ensure(db);
    }
    QProcess p;
    p.start(sqlite3,
            { folder.dbPath(),
              QStringLiteral("pragma integrity_check; select count(*) from adressen "
                             "indexed by adressen_laufdatum where ")
                  + RaceDateIndex::keyExpression(QStringLiteral("ad_lauf_datum"))
                  + QStringLiteral(" >= '20260507' and ad_lauf <> '';") });
    ASSERT_TRUE(p.waitForFinished(10000));
    const int future = int(RaceStore(folder.dbPath()).list(futureRaces(), kToday).count());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("ok\n%1\n").arg(future))
        << p.readAllStandardError().toStdString();
}
