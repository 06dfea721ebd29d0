// SPDX-License-Identifier: GPL-3.0-or-later
// Median time to open "Startgelder und Fristen" (read the races still to pay for, work out their
// fees, fill the grid) and to show it for the first time. Target: open <= 100 ms with 100,000
// races, a tenth of them ahead, registered or noted and not paid.
// Usage: fees_bench [races=100000] [runs=25]; FEES_KEEP=<file> keeps a copy of the database.
#include "FeeRaces.h"
#include "Median.h"
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "data/RaceStore.h"
#include "fees/FeesWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    using benchgen::median;
    using benchgen::threadCpuMs;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 25;

    ProgramRun program;
    benchgen::addRaces(program.folder.dbPath(), races);
    const QDate today = program.clock.today();
    makeTenthComing(program.folder, today);
    if (qEnvironmentVariableIsSet("FEES_KEEP"))
        QFile::copy(program.folder.dbPath(), qEnvironmentVariable("FEES_KEEP"));

    std::vector<double> readMs, rulesMs, computeMs, openMs, openCpuMs, shownMs;
    size_t listed = 0;
    int rising = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        std::vector<Race> coming;
        program.ctx.races().unpaidComingRaces(today,
                                              [&coming](const Race &r) { coming.push_back(r); });
        readMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        rising = 0;
        for (const Race &race : coming)
            rising += feeSituation(race, today).rises();
        rulesMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        listed = makeFeeList(coming, today).rows.size();
        computeMs.push_back(t.nsecsElapsed() / 1e6);
    }
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        FeesWindow form(program.ctx);
        openMs.push_back(t.nsecsElapsed() / 1e6);
        openCpuMs.push_back(threadCpuMs() - cpu);
        form.show();
        QApplication::processEvents();
        shownMs.push_back(t.nsecsElapsed() / 1e6);
    }
    if (!program.ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(program.ui.messageTexts().join(u'\n')));
    std::printf("%d races, %zu listed, %d of them with a rise ahead, %d runs\n", races, listed,
                rising, runs);
    std::printf("open (read, fees, grid):           median %.1f ms (target <= 100 ms)\n",
                median(openMs));
    std::printf("  the same in CPU time of the thread: median %.1f ms\n", median(openCpuMs));
    std::printf("apart, with the races kept in memory:\n");
    std::printf("  reading the races:               median %.1f ms\n", median(readMs));
    std::printf("  the list of their fees:          median %.1f ms\n", median(computeMs));
    std::printf("    of which the fee rules alone:  median %.1f ms\n", median(rulesMs));
    std::printf("open and first paint:              median %.1f ms\n", median(shownMs));
    return 0;
}
