// SPDX-License-Identifier: GPL-3.0-or-later
// Median time to open the statistics window (read the races, compute, build grids and charts)
// and to show it for the first time. Target: open <= 100 ms with 10,000 races.
// Usage: statistics_bench [races=10000] [runs=25]
#include "Median.h"
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "statistics/StatisticsWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
// The machine is shared: besides the wall-clock time, the time this thread ran on a CPU.
double threadCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    using benchgen::median;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 25;

    ProgramRun program;
    benchgen::addRaces(program.folder.dbPath(), races);

    // The parts of an opening, to see where the time goes.
    std::vector<double> readMs, computeMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const std::vector<Race> records = statisticsRaces(program.ctx.races());
        readMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const RaceStatistics stats = computeStatistics(records);
        computeMs.push_back(t.nsecsElapsed() / 1e6);
    }

    std::vector<double> openMs, openCpuMs, shownMs;
    size_t finishes = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        StatisticsWindow form(program.ctx);
        openMs.push_back(t.nsecsElapsed() / 1e6);
        openCpuMs.push_back(threadCpuMs() - cpu);
        form.show();
        QApplication::processEvents();
        shownMs.push_back(t.nsecsElapsed() / 1e6);
        for (const Progression &p : form.statistics().progressions)
            finishes += p.points.size();
    }
    if (!program.ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(program.ui.messageTexts().join(u'\n')));
    std::printf("%d races, %zu timed finishes per opening, %d runs\n", races,
                finishes / size_t(runs), runs);
    std::printf("open (read, compute, grids, charts): median %.1f ms (target <= 100 ms)\n",
                median(openMs));
    std::printf("  the same in CPU time of the thread: median %.1f ms\n", median(openCpuMs));
    std::printf("  of which reading the races:       median %.1f ms\n", median(readMs));
    std::printf("  of which computing the figures:   median %.1f ms\n", median(computeMs));
    std::printf("open and first paint:                median %.1f ms\n", median(shownMs));
    return 0;
}
