// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the statistics window over a generated log of fifteen years (2011-2025) to a PNG:
// statistics_screenshot out.png [tab=0] [distance=0]
#include "FakeUi.h"
#include "RaceGenerator.h"
#include "TestFolder.h"
#include "common/Clock.h"
#include "context/AppContext.h"
#include "statistics/Statistik_Form.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    TestFolder folder(TestFolder::Content::Seeded);
    benchgen::addRaceHistory(folder.dbPath(), 2011, 15);

    FakeUi ui;
    FixedClock clock(QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    AppContext ctx(ui, clock, folder.path());

    Statistik_Form form(ctx);
    if (argc > 2)
        form.stat_tabs->setCurrentIndex(QString::fromLocal8Bit(argv[2]).toInt());
    if (argc > 3)
        form.stat_k_strecke->setCurrentIndex(QString::fromLocal8Bit(argv[3]).toInt());
    form.show();
    app.processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
