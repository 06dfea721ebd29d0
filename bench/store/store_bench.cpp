// SPDX-License-Identifier: GPL-3.0-or-later
// The race store's reads on one database of N races: every race list (the first screen of 40
// rows read), the start-screen and reminder lists, reading every row of the whole list, and the
// reads of the statistics and the workbook export. Medians of the runs.
// Usage: store_bench [races=100000] [runs=21] [folder]
// With a folder, its Strivo-DB.mdb is made once and used again by later runs of the same size.
#include "Median.h"
#include "RaceGenerator.h"
#include "data/DocumentLinkIndex.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kScreen = 40;

double timeMs(const std::function<void()> &run)
{
    QElapsedTimer t;
    t.start();
    run();
    return double(t.nsecsElapsed()) / 1e6;
}

void timed(const char *what, int runs, const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(timeMs(run));
    std::printf("%-34s race store %9.2f ms\n", what, benchgen::median(times));
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
            timed(qPrintable(what), runs, [&] {
                RaceListFilter filter { t.future, t.past, std::nullopt };
                if (option >= 0)
                    filter.option = RaceSelection(option);
                firstScreen(store.list(filter, today));
            });
        }
    }
    timed("Startbild", runs, [&] { firstScreen(store.startScreenRaces(today)); });
    timed("Erinnerungen", runs, [&] { firstScreen(store.dueReminders(today)); });

    const int fewer = std::max(3, runs / 4);
    timed("every row of the whole list", fewer, [&] {
        const RaceList list = store.list({ false, false, std::nullopt }, today);
        for (int r = 0; list.hasRow(r); ++r)
            list.race(r);
    });
    timed("statistics read", fewer, [&] {
        store.readRaces(RaceStore::Order::ByNumber, true, [](const Race &) {},
                        { QStringLiteral("ad_lauf"), QStringLiteral("ad_lauf_ort"),
                          QStringLiteral("ad_lauf_datum"), QStringLiteral("ad_strecke"),
                          QStringLiteral("ad_zeit"), QStringLiteral("ad_gelaufen_jn"),
                          QStringLiteral("ad_ang_jn"), QStringLiteral("ad_vorgemerkt_jn") });
    });
    timed("export read", fewer,
          [&] { store.readRaces(RaceStore::Order::LatestFirst, false, [](const Race &) {}); });
    return 0;
}
