// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar export of a database of races against the Excel export of the same races.
//
// Usage: ical_bench [races] [runs] [folder to work in]   (defaults: 10000 races, 7 runs)
// The runs alternate between the two exports; the medians and their ratio are printed.
// "Today" is 01.01.2000, before every generated race, so every race is exported.
#include "RaceGenerator.h"
#include "common/DbError.h"
#include "data/WorkbookExport.h"
#include "icalexport/CalendarExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Times
{
    std::vector<double> wall, cpu;
};

// Wall time and the processor time of this process (the machine is shared: wall time
// includes waiting for the processor and for fsync).
template<typename F> void timed(Times &times, F &&work)
{
    QElapsedTimer timer;
    const double cpu = cpuMs();
    timer.start();
    work();
    times.wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    times.cpu.push_back(cpuMs() - cpu);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    QTemporaryDir temporary;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporary.path();
    const QString db = QDir(folder).filePath(QStringLiteral("Strivo-DB.mdb"));
    QFile::remove(db);
    benchgen::makeRaceDatabase(db, races);
    const QString ics = QDir(folder).filePath(QStringLiteral("Strivo-Termine.ics"));
    const QString xls = QDir(folder).filePath(QStringLiteral("Läufe.xls"));
    const QDateTime today(QDate(2000, 1, 1), QTime(8, 0));

    try {
        Times calendar, workbook;
        CalendarPlan plan;
        for (int i = 0; i < runs; ++i) {
            timed(calendar, [&] { plan = exportCalendar(db, ics, today); });
            QFile::remove(xls); // the workbook export never replaces a file
            timed(workbook, [&] { exportRacesToWorkbook(db, xls); });
        }
        std::printf("%d races: %s\n", races, qPrintable(calendarExportMessage(plan)));
        const auto line = [](const char *what, const Times &t, const QString &file) {
            std::printf("%-17s median %8.1f ms wall, %8.1f ms CPU   file %lld bytes\n", what,
                        median(t.wall), median(t.cpu),
                        static_cast<long long>(QFileInfo(file).size()));
        };
        line("iCalendar export", calendar, ics);
        line("Excel export", workbook, xls);
        std::printf("ratio iCalendar / Excel: %.2f wall, %.2f CPU (%d runs each, alternating)\n",
                    median(calendar.wall) / median(workbook.wall),
                    median(calendar.cpu) / median(workbook.cpu), runs);
    } catch (const DbError &e) {
        std::printf("DbError %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    QFile::remove(db);
    return 0;
}
