// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the statistics window over a generated log of fifteen years (2011-2025) to a PNG:
// statistics_screenshot out.png [tab=0] [distance=0]
// Its entry fees come in the forms people type them, a few of them not amounts.
#include "Controls.h"
#include "ProgramFixture.h"
#include "RaceGenerator.h"
#include "statistics/StatisticsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTabWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    ProgramRun run(TestFolder::Content::Seeded, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    benchgen::addRaceHistory(run.folder.dbPath(), 2011, 15);
    // Fees in the forms people type them, now and then one that is no amount.
    QStringList fees;
    for (const char *column : { "ad_sg11", "ad_sg12", "ad_sg13", "ad_sg21", "ad_sg22", "ad_sg23",
                                "ad_sg31", "ad_sg32", "ad_sg33" })
        fees << QStringLiteral("%1 = case ad_nummer % 12 when 0 then '45' when 1 then '45,-' "
                               "when 2 then '45,50 €' when 3 then 'EUR 50' when 4 then '55 Euro' "
                               "when 5 then '€ 60,00' when 6 then 'frei' when 7 then 'ca. 40' "
                               "else %1 end")
                    .arg(QLatin1String(column));
    run.folder.exec(QStringLiteral("update adressen set ") + fees.join(QStringLiteral(", ")));

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
