// SPDX-License-Identifier: GPL-3.0-or-later
// Speed and memory of the list output: CSV, .xlsx and PDF of a generated race list.
//
// Usage: listoutput_bench [csv|xlsx|pdf|peer|memory|all] [races] [folder to work in] [runs]
//   csv     the CSV of `races` (default 60,000); target <= 1 s
//   xlsx    the .xlsx of `races` (default 60,000)
//   pdf     the PDF of `races` (default 1,000); target <= 2 s
//   peer    the .xlsx against python3-openpyxl in write-only mode writing the same cells
//           (default 60,000 races): median of alternating runs (default 3) and the ratio;
//           target peer >= 10 x ours
//   memory  peak RSS of the .xlsx export of 10,000 and of 60,000 races, each in a process that
//           does nothing else; target: flat
// Times are medians; the list is every race, latest first, as the main window lists it.
#include "Median.h"
#include "RaceGenerator.h"
#include "data/RaceDateIndex.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"
#include "listoutput/ListCsv.h"
#include "listoutput/ListPages.h"
#include "listoutput/ListXlsx.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>

namespace {

QString databaseOf(const QString &folder, int races)
{
    const QString db
        = benchgen::raceDatabaseIn(folder + QStringLiteral("/db-%1").arg(races), races);
    SqliteDb file(db, SqliteDb::Open::ReadWrite);
    RaceDateIndex::ensure(file);
    return db;
}

RaceList allRaces(RaceStore &store)
{
    return store.list({ true, true, std::nullopt }, QDate(2026, 12, 8));
}

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// On a shared machine the processor time tells what the work costs, the wall time what the
// user waits; both are printed.
double cpuUsed = 0;

double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuSeconds();
    work();
    cpuUsed = cpuSeconds() - cpu;
    return double(timer.nsecsElapsed()) / 1e9;
}

double timed(const QString &db, int runs, const std::function<void(const RaceList &)> &write)
{
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        RaceStore store(db);
        times.push_back(seconds([&] { write(allRaces(store)); }));
        cpu.push_back(cpuUsed);
    }
    cpuUsed = benchgen::median(cpu);
    return benchgen::median(times);
}

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("all");
    const int given = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    QTemporaryDir scratch;
    const QString work = argc > 3 ? QString::fromLocal8Bit(argv[3]) : scratch.path();
    const int runs = argc > 4 ? QString::fromLocal8Bit(argv[4]).toInt() : 3;
    const QString out = work + QStringLiteral("/out");
    QDir().mkpath(out);

    // The measured process of "memory": one export and nothing else.
    if (mode == QStringLiteral("xlsx-once")) {
        RaceStore store(work + QStringLiteral("/db-%1/Strivo-DB.mdb").arg(given));
        writeRacesXlsx(allRaces(store), out + QStringLiteral("/once.xlsx"));
        std::printf("%ld\n", peakRssKb());
        return 0;
    }

    const bool all = mode == QStringLiteral("all");
    if (all || mode == QStringLiteral("csv")) {
        const int races = given ? given : 60000;
        const QString db = databaseOf(work, races);
        const double s = timed(db, runs, [&](const RaceList &l) {
            writeRacesCsv(l, out + QStringLiteral("/liste.csv"));
        });
        std::printf("csv   %6d races: %.3f s, processor %.3f s (target <= 1 s)\n", races, s,
                    cpuUsed);
    }
    if (all || mode == QStringLiteral("xlsx")) {
        const int races = given ? given : 60000;
        const QString db = databaseOf(work, races);
        const double s = timed(db, runs, [&](const RaceList &l) {
            writeRacesXlsx(l, out + QStringLiteral("/liste.xlsx"));
        });
        std::printf("xlsx  %6d races: %.3f s, processor %.3f s\n", races, s, cpuUsed);
    }
    if (all || mode == QStringLiteral("pdf")) {
        const int races = given ? given : 1000;
        const QString db = databaseOf(work, races);
        const double s = timed(db, runs, [&](const RaceList &l) {
            saveListPdf(raceListDocument(l, QStringLiteral("Alle Läufe"), QDate(2026, 12, 8)),
                        out + QStringLiteral("/liste.pdf"));
        });
        std::printf("pdf   %6d races: %.3f s, processor %.3f s (target <= 2 s)\n", races, s,
                    cpuUsed);
    }
    if (all || mode == QStringLiteral("peer")) {
        const int races = given ? given : 60000;
        const QString db = databaseOf(work, races);
        const QString csv = out + QStringLiteral("/peer.csv");
        {
            RaceStore store(db);
            writeRacesCsv(allRaces(store), csv);
        }
        std::vector<double> ours, oursCpu, peer, peerCpu;
        for (int i = 0; i < runs; ++i) {
            ours.push_back(timed(db, 1, [&](const RaceList &l) {
                writeRacesXlsx(l, out + QStringLiteral("/ours.xlsx"));
            }));
            oursCpu.push_back(cpuUsed);
            QProcess python;
            python.start(
                QStringLiteral("/usr/bin/python3"),
                { QStringLiteral(XLSX_PEER_SCRIPT), csv, out + QStringLiteral("/peer.xlsx") });
            if (!python.waitForFinished(-1) || python.exitCode() != 0) {
                std::fprintf(stderr, "peer failed: %s\n",
                             python.readAllStandardError().constData());
                return 1;
            }
            const QList<QByteArray> times = python.readAllStandardOutput().trimmed().split(' ');
            peer.push_back(times.value(0).toDouble());
            peerCpu.push_back(times.value(1).toDouble());
        }
        const double o = benchgen::median(ours), p = benchgen::median(peer);
        const double oc = benchgen::median(oursCpu), pc = benchgen::median(peerCpu);
        std::printf("peer  %6d races: ours %.3f s (processor %.3f s), openpyxl write-only %.3f s "
                    "(processor %.3f s): ratio %.1f x, in processor time %.1f x "
                    "(target >= 10 x)\n",
                    races, o, oc, p, pc, p / o, pc / oc);
    }
    if (all || mode == QStringLiteral("memory")) {
        for (const int races : { 10000, 60000 }) {
            databaseOf(work, races);
            QProcess once;
            once.start(QCoreApplication::applicationFilePath(),
                       { QStringLiteral("xlsx-once"), QString::number(races), work });
            once.waitForFinished(-1);
            std::printf("memory %6d races: peak RSS %s kB\n", races,
                        once.readAllStandardOutput().trimmed().constData());
        }
    }
    return 0;
}
