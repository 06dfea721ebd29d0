// SPDX-License-Identifier: GPL-3.0-or-later
// The race store's reads beside the data source's, on one database of N races: every race list
// (the first screen of 40 rows read), the start-screen and reminder lists, reading every row of
// the whole list, and the reads of the statistics and the workbook export.
// Usage: store_bench [races=100000] [runs=21] [folder]
// With a folder, its Strivo-DB.mdb is made once and used again by later runs of the same size.
#include "Median.h"
#include "RaceGenerator.h"
#include "data/DataSource.h"
#include "data/DocumentLinkIndex.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/SqlTranslator.h"
#include "data/Sqlite.h"
#include "model/RaceColumns.h"
#include "statistics/RaceStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kScreen = 40;

// The statements the lists and the export ran before the store, for the comparison.
QString quoted(const QDate &day)
{
    return u'\'' + day.toString(QStringLiteral("dd.MM.yyyy")) + u'\'';
}

QString listStatement(bool future, bool past, int option, const QDate &today)
{
    static const char *const where[] = {
        "where ad_lauf <> '' ",
        "where ad_ang_jn=true ",
        "where ad_alarm_jn='Ja' and ad_alarm_datum<>'01.01.1900' ",
        "where ad_gelaufen_jn='Ja' ",
        "where ad_bezahlt_jn='Ja' ",
        "where ad_vorgemerkt_jn=true ",
    };
    QString sql
        = QStringLiteral("select * from adressen ") + QLatin1String(where[std::max(option, 0)]);
    if (future != past)
        sql += QStringLiteral("and (Datevalue(ad_lauf_datum) %1 Datevalue( %2))   ")
                   .arg(future ? QStringLiteral(">=") : QStringLiteral("<"), quoted(today));
    return sql + QStringLiteral("order by cdate(ad_lauf_datum) desc");
}

QString startScreenStatement(const QDate &today)
{
    return QStringLiteral("select * from adressen where ad_startbild_jn = true and "
                          "(Datevalue(ad_lauf_datum) >= Datevalue( %1)) order by "
                          "cdate(ad_lauf_datum)")
        .arg(quoted(today));
}

QString reminderStatement(const QDate &today)
{
    return QStringLiteral("select * from adressen where ad_alarm_jn = 'Ja' and "
                          "(Datevalue(ad_alarm_datum) <= Datevalue( %1)) and "
                          "ad_alarm_datum<>'01.01.1900' order by cdate(ad_lauf_datum) desc")
        .arg(quoted(today));
}

QString exportStatement()
{
    return QStringLiteral("select %1 from adressen order by cdate(ad_lauf_datum) desc")
        .arg(RaceColumns::names().join(QStringLiteral(", ")));
}

double timeMs(const std::function<void()> &run)
{
    QElapsedTimer t;
    t.start();
    run();
    return double(t.nsecsElapsed()) / 1e6;
}

void compare(const char *what, int runs, const std::function<void()> &before,
             const std::function<void()> &after)
{
    std::vector<double> old, now;
    for (int i = 0; i < runs; ++i) {
        old.push_back(timeMs(before));
        now.push_back(timeMs(after));
    }
    const double o = benchgen::median(old), n = benchgen::median(now);
    std::printf("%-34s data source %9.2f ms   race store %9.2f ms   ratio %.2f\n", what, o, n,
                o > 0 ? n / o : 0.0);
}

// The first screen of a list as the grid shows it: every column of its first rows.
void firstScreen(DataSource &source)
{
    for (int r = 0; r < kScreen && r < source.rowsRead(); ++r)
        for (int c = 0; c < source.fieldNames().size(); ++c)
            source.valueAt(r, c);
}

void firstScreen(const RaceList &list)
{
    for (int r = 0; r < kScreen && list.hasRow(r); ++r)
        list.race(r);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 21;
    QTemporaryDir temp;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temp.path();
    const QString dbPath = benchgen::raceDatabaseIn(folder, races);
    {
        // The indexes the program makes at its start.
        SqliteDb db(dbPath, SqliteDb::Open::ReadWrite);
        RaceDateIndex::ensure(db);
        DocumentLinkIndex::ensure(db);
    }
    const QDate today = QDate::currentDate();

    DataSource source;
    source.setDatabaseName(dbPath);
    RaceStore store(dbPath);

    const char *options[]
        = { nullptr, "angemeldet", "zu bezahlen", "gelaufen", "bezahlt", "vorgemerkt" };
    struct Times
    {
        bool future, past;
        const char *name;
    };
    for (const Times &t : { Times { true, false, "zukünftig" }, Times { false, false, "alle" },
                            Times { false, true, "vergangen" } }) {
        for (int option = -1; option <= 5; ++option) {
            // As the window offers them: the options with the future or with every race.
            if (option == 0 || (option > 0 && t.past))
                continue;
            const QString what = QString::fromUtf8(t.name)
                + (option > 0 ? QStringLiteral(", ") + QLatin1String(options[option]) : QString());
            compare(
                qPrintable(what), runs,
                [&] {
                    source.setRecordSource(listStatement(t.future, t.past, option, today));
                    source.refresh();
                    firstScreen(source);
                },
                [&] {
                    RaceListFilter filter { t.future, t.past, std::nullopt };
                    if (option >= 0)
                        filter.option = RaceSelection(option);
                    firstScreen(store.list(filter, today));
                });
        }
    }
    compare(
        "Startbild", runs,
        [&] {
            source.setRecordSource(startScreenStatement(today));
            source.refresh();
            firstScreen(source);
        },
        [&] { firstScreen(store.startScreenRaces(today)); });
    compare(
        "Erinnerungen", runs,
        [&] {
            source.setRecordSource(reminderStatement(today));
            source.refresh();
            firstScreen(source);
        },
        [&] { firstScreen(store.dueReminders(today)); });

    const int fewer = std::max(3, runs / 4);
    compare(
        "every row of the whole list", fewer,
        [&] {
            source.setRecordSource(listStatement(false, false, -1, today));
            source.refresh();
            for (int r = 0; r < source.recordCount(); ++r)
                source.valueAt(r, r % int(source.fieldNames().size()));
        },
        [&] {
            const RaceList list = store.list({ false, false, std::nullopt }, today);
            for (int r = 0; list.hasRow(r); ++r)
                list.race(r);
        });
    compare(
        "statistics read", fewer,
        [&] {
            // What the statistics read before the store.
            DataSource source;
            source.setDatabaseName(dbPath);
            source.setRecordSource(QStringLiteral(
                "select ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_strecke, ad_zeit, ad_gelaufen_jn, "
                "ad_ang_jn, ad_vorgemerkt_jn from adressen where ad_lauf <> '' order by "
                "ad_nummer"));
            source.refresh();
            for (int r = 0; r < source.recordCount(); ++r)
                for (int c = 0; c < 8; ++c)
                    source.valueAt(r, c);
        },
        [&] {
            store.readRaces(RaceStore::Order::ByNumber, true, [](const Race &) {},
                            { QStringLiteral("ad_lauf"), QStringLiteral("ad_lauf_ort"),
                              QStringLiteral("ad_lauf_datum"), QStringLiteral("ad_strecke"),
                              QStringLiteral("ad_zeit"), QStringLiteral("ad_gelaufen_jn"),
                              QStringLiteral("ad_ang_jn"), QStringLiteral("ad_vorgemerkt_jn") });
        });
    compare(
        "export read", fewer,
        [&] {
            SqliteDb db(dbPath, SqliteDb::Open::ReadOnly);
            TranslateOptions o;
            o.raceDateKeys = !RaceDateIndex::hasIrregularDates(db);
            Statement st(db, translateStatement(exportStatement(), o).sql);
            while (st.step())
                for (int c = 0; c < st.columnCount(); ++c)
                    st.column(c);
        },
        [&] { store.readRaces(RaceStore::Order::LatestFirst, false, [](const Race &) {}); });
    return 0;
}
