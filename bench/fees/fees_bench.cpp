// SPDX-License-Identifier: GPL-3.0-or-later
// Median time to open "Startgelder und Fristen" (read the races still to pay for, work out their
// fees, fill the grid) and to show it for the first time. Target: open <= 100 ms with 100,000
// races, a tenth of them ahead, registered or noted and not paid.
// Usage: fees_bench [races=100000] [runs=25]
#include "FeeRaces.h"
#include "Median.h"
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "data/RaceStore.h"
#include "fees/FeesWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    using benchgen::median;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int races = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 25;

    ProgramRun program;
    benchgen::addRaces(program.folder.dbPath(), races);
    const QDate today = program.clock.today();
    makeTenthComing(program.folder, today);

    std::vector<double> readMs, computeMs, openMs, shownMs;
    size_t listed = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const std::vector<Race> coming = program.ctx.races().unpaidComingRaces(today);
        readMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        listed = makeFeeList(coming, today).rows.size();
        computeMs.push_back(t.nsecsElapsed() / 1e6);
    }
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        FeesWindow form(program.ctx);
        openMs.push_back(t.nsecsElapsed() / 1e6);
        form.show();
        QApplication::processEvents();
        shownMs.push_back(t.nsecsElapsed() / 1e6);
    }
    if (!program.ui.messages.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(program.ui.messageTexts().join(u'\n')));
    std::printf("%d races, %zu listed, %d runs\n", races, listed, runs);
    std::printf("open (read, fees, grid):           median %.1f ms (target <= 100 ms)\n",
                median(openMs));
    std::printf("  of which reading the races:      median %.1f ms\n", median(readMs));
    std::printf("  of which working out the fees:   median %.1f ms\n", median(computeMs));
    std::printf("open and first paint:              median %.1f ms\n", median(shownMs));
    return 0;
}
