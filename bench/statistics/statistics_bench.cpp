// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the statistics window as the user sees it: constructed (figures, grids), shown and
// painted, with the figures kept up to date in idle time as the program keeps them, and at once
// after a change, when the opening reads them itself; the idle-time slices; each further tab
// shown for the first time; and the process's memory before the first opening, with the window
// open and after it has closed (the kept figures stay).
// Target: open and first paint <= 100 ms at 100,000 races; memory returned when it closes.
// Usage: statistics_bench [races=10000] [runs=25] [folder]
// With a folder, its Strivo-DB.mdb is made once and used again by later runs of the same size.
#include "FakeUi.h"
#include "Median.h"
#include "RaceGenerator.h"
#include "context/AppContext.h"
#include "statistics/StatisticsCache.h"
#include "statistics/StatisticsWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Anonymous resident memory (the heap and its kin, not the mapped libraries) in MB.
double anonMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// What the program holds on the heap in MB, beside what malloc keeps for later.
double heapInUseMb()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

struct Memory
{
    double anon;
    double inUse;
};
Memory memoryNow()
{
    return { anonMb(), heapInUseMb() };
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    using benchgen::median;
    using benchgen::threadCpuMs;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 25;

    QTemporaryDir temp;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temp.path();
    benchgen::raceDatabaseIn(folder, races);
    FakeUi ui;
    SystemClock clock;
    AppContext ctx(ui, clock, folder);

    // The first opening alone, with the memory around it.
    settle();
    const Memory before = memoryNow();
    Memory open {};
    {
        StatisticsWindow form(ctx);
        form.show();
        settle();
        open = memoryNow();
    }
    settle();
    const Memory closed = memoryNow();

    // A race saved unchanged, as the editor saves one: the kept figures are out of date.
    const std::optional<Race> saved = ctx.races().race(races / 2);
    const auto change = [&ctx, &saved] { ctx.races().save(*saved); };

    // The figures alone, to see where the time goes.
    std::vector<double> readMs, readCpuMs, figuresMs, figuresCpuMs, sliceMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        double cpu = threadCpuMs();
        ctx.races().readStatisticsRows(0, -1, [](const StatisticsRow &) {});
        readMs.push_back(double(t.nsecsElapsed()) / 1e6);
        readCpuMs.push_back(threadCpuMs() - cpu);
        t.restart();
        cpu = threadCpuMs();
        const RaceStatistics stats = readStatistics(ctx.races());
        figuresMs.push_back(double(t.nsecsElapsed()) / 1e6);
        figuresCpuMs.push_back(threadCpuMs() - cpu);
        // The same in the slices that idle time reads.
        change();
        bool more = true;
        while (more) {
            t.restart();
            more = ctx.statistics().readSlice();
            sliceMs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }

    // Opened with the figures kept up to date in idle time, and opened at once after a change.
    std::vector<double> constructMs, shownMs, shownCpuMs, afterChangeMs, yearTabMs, timeTabMs;
    size_t finishes = 0;
    for (int run = 0; run < 2 * runs; ++run) {
        const bool kept = run % 2 == 0;
        change();
        if (kept) {
            ctx.statistics().updateWhenIdle();
            while (ctx.statistics().readSlice())
                QApplication::processEvents();
        }
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        StatisticsWindow form(ctx);
        if (kept)
            constructMs.push_back(double(t.nsecsElapsed()) / 1e6);
        form.show();
        QApplication::processEvents();
        (kept ? shownMs : afterChangeMs).push_back(double(t.nsecsElapsed()) / 1e6);
        if (!kept)
            continue;
        shownCpuMs.push_back(threadCpuMs() - cpu);
        auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("stat_tabs"));
        for (auto [tab, ms] : { std::pair { int(StatisticsWindow::YearTab), &yearTabMs },
                                std::pair { int(StatisticsWindow::TimeTab), &timeTabMs } }) {
            t.restart();
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            ms->push_back(double(t.nsecsElapsed()) / 1e6);
        }
        for (const Progression &p : form.statistics().progressions)
            finishes += p.points.size();
    }
    settle();
    const Memory end = memoryNow();

    if (!ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(ui.messageTexts().join(u'\n')));
    std::printf("%d races, %zu timed finishes per opening, %d runs\n", races,
                finishes / size_t(runs), runs);
    std::printf("open and first paint:            median %.1f ms (target <= 100 ms)\n",
                median(shownMs));
    std::printf("  the same in CPU time:          median %.1f ms\n", median(shownCpuMs));
    std::printf("  of which the window made:      median %.1f ms\n", median(constructMs));
    std::printf("opened at once after a change:   median %.1f ms (figures read while opening)\n",
                median(afterChangeMs));
    std::printf("  idle-time slices of %d races:  median %.1f ms, longest %.1f ms\n",
                StatisticsCache::kSliceRaces, median(sliceMs),
                *std::max_element(sliceMs.begin(), sliceMs.end()));
    std::printf("  figures alone (read, compute): median %.1f ms, CPU %.1f ms\n", median(figuresMs),
                median(figuresCpuMs));
    std::printf("  reading the races alone:       median %.1f ms, CPU %.1f ms\n", median(readMs),
                median(readCpuMs));
    std::printf("first look at \"Läufe pro Jahr\": median %.1f ms\n", median(yearTabMs));
    std::printf("first look at \"Zeitentwicklung\": median %.1f ms\n", median(timeTabMs));
    std::printf("memory (anonymous resident / heap in use), MB:\n");
    std::printf("  before the first opening %.1f / %.1f, open %.1f / %.1f, closed %.1f / %.1f\n",
                before.anon, before.inUse, open.anon, open.inUse, closed.anon, closed.inUse);
    std::printf("  after %d more openings %.1f / %.1f\n", runs, end.anon, end.inUse);
    // What of the difference is free memory that malloc keeps for the next allocations.
    malloc_trim(0);
    const Memory trimmed = memoryNow();
    std::printf("  the same after malloc_trim(0) %.1f / %.1f\n", trimmed.anon, trimmed.inUse);
    return 0;
}
