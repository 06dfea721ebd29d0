// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the statistics window over a generated log of fifteen years (2011-2025) to a PNG:
// statistics_screenshot out.png [tab=0] [distance=0]
#include "Controls.h"
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "statistics/StatisticsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    ProgramRun run(TestFolder::Content::Seeded, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    benchgen::addRaceHistory(run.folder.dbPath(), 2011, 15);

    StatisticsWindow form(run.ctx);
    if (argc > 2)
        control<QTabWidget>(form, "stat_tabs")
            ->setCurrentIndex(QString::fromLocal8Bit(argv[2]).toInt());
    if (argc > 3)
        control<QComboBox>(form, "stat_k_strecke")
            ->setCurrentIndex(QString::fromLocal8Bit(argv[3]).toInt());
    form.show();
    app.processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
