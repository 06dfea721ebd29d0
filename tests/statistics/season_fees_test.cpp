#include "Controls.h"
#include "ProgramFixture.h"
#include "data/RaceStore.h"
#include "statistics/RaceStatistics.h"
#include "statistics/StatisticsWindow.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

// Deadlines 31.01., 30.04. and 31.08.2024; Marathon 45 / 55 / 65, Halb-Marathon 30 / – / 40,50,
// "10 km" free / "ca. 20" / 25, each typed the way people do.
FeeTable feeTable()
{
    FeeTable t;
    t.thirdDistance = QStringLiteral("10 km");
    t.deadlines
        = { StoredDate(QStringLiteral("31.01.2024")), StoredDate(QStringLiteral("30.04.2024")),
            StoredDate(QStringLiteral("31.08.2024")) };
    t.fees[0] = { QStringLiteral("45"), QStringLiteral("30"), QStringLiteral("frei") };
    t.fees[1] = { QStringLiteral("55,-"), QString(), QStringLiteral("ca. 20") };
    t.fees[2] = { QStringLiteral("65 €"), QStringLiteral("40,50"), QStringLiteral("EUR 25") };
    return t;
}

Race paidRace(const char *date, const char *distance, const char *registration,
              const char *paid = "Ja")
{
    Race race;
    race.name = QStringLiteral("Lauf");
    race.date = StoredDate(QString::fromUtf8(date));
    race.distance = QString::fromUtf8(distance);
    race.registrationDate = StoredDate(QString::fromUtf8(registration));
    race.paid = Flag::fromStored(Flag::Kind::JaBlank, QString::fromUtf8(paid));
    race.fees = feeTable();
    return race;
}

const YearFigures *yearOf(const RaceStatistics &stats, int year)
{
    for (const YearFigures &y : stats.years)
        if (y.year == year)
            return &y;
    return nullptr;
}

} // namespace

TEST(SeasonFees, TheFeeOfTheRegistrationDayCountsInTheYearOfTheRace)
{
    struct Case
    {
        const char *what;
        Race race;
        int year;
        qint64 cents;
        int unreadable;
    };
    const Case cases[] = {
        { "before the first deadline", paidRace("15.09.2024", "Marathon", "10.01.2024"), 2024, 4500,
          0 },
        { "on a deadline, which still holds", paidRace("15.09.2024", "Marathon", "31.01.2024"),
          2024, 4500, 0 },
        { "the day after it", paidRace("15.09.2024", "Marathon", "01.02.2024"), 2024, 5500, 0 },
        { "an empty cell gives the next fee", paidRace("15.09.2024", "Halb-Marathon", "01.02.2024"),
          2024, 4050, 0 },
        { "the distance spelt another way", paidRace("15.09.2024", "10KM", "02.05.2024"), 2024,
          2500, 0 },
        { "no registration date: the race date", paidRace("20.08.2024", "Marathon", "Ja"), 2024,
          6500, 0 },
        { "a damaged registration date: the race date",
          paidRace("20.08.2024", "Marathon", "3.2.24"), 2024, 6500, 0 },
        { "after the last deadline", paidRace("15.09.2024", "Marathon", "01.09.2024"), 2024, 0, 0 },
        { "free", paidRace("15.09.2024", "10 km", "05.01.2024"), 2024, 0, 0 },
        { "unreadable", paidRace("15.09.2024", "10 km", "01.02.2024"), 2024, 0, 1 },
        { "no fee row for the distance", paidRace("15.09.2024", "Crosslauf", "05.01.2024"), 2024, 0,
          0 },
        { "not paid", paidRace("15.09.2024", "Marathon", "05.01.2024", " "), 2024, 0, 0 },
        { "only \"Ja\" is paid", paidRace("15.09.2024", "Marathon", "05.01.2024", "ja"), 2024, 0,
          0 },
        { "registered the year before", paidRace("10.01.2025", "Marathon", "30.04.2024"), 2025,
          5500, 0 },
    };
    for (const Case &c : cases) {
        const RaceStatistics stats = computeStatistics({ c.race });
        const YearFigures *year = yearOf(stats, c.year);
        ASSERT_NE(year, nullptr) << c.what;
        EXPECT_EQ(year->feeCents, c.cents) << c.what;
        EXPECT_EQ(stats.unreadableFees, c.unreadable) << c.what;
        EXPECT_EQ(stats.leftOut.size(), size_t(c.unreadable)) << c.what;
    }
}

TEST(SeasonFees, FeesAddUpPerYearAndTheUnreadableOnesAreNamed)
{
    Race unreadable = paidRace("15.09.2024", "10 km", "01.02.2024");
    unreadable.name = QStringLiteral("Stadtlauf");
    const RaceStatistics stats = computeStatistics({
        paidRace("15.09.2024", "Marathon", "10.01.2024"),
        paidRace("16.09.2024", "Halb-Marathon", "10.01.2024"), unreadable,
        paidRace("10.01.2025", "Marathon", "01.05.2024"),
        paidRace("31.02.2025", "Marathon", "01.05.2024"), // left out with its damaged date
    });
    ASSERT_EQ(stats.years.size(), 2u);
    EXPECT_EQ(stats.years[0].feeCents, 4500 + 3000);
    EXPECT_EQ(stats.years[1].feeCents, 6500);
    ASSERT_EQ(stats.unreadableFees, 1);
    EXPECT_EQ(describeLeftOut(stats.leftOut[0]),
              QStringLiteral("Stadtlauf (15.09.2024): „ca. 20“ – Startgeld nicht lesbar"));
}

namespace {
struct SeasonFeesWindowTest : ProgramTest
{
    void addPaid(const char *name, const char *date, const char *distance, const char *registration,
                 const char *paid = "Ja")
    {
        folder.addRace({ { "ad_lauf", name },
                         { "ad_lauf_datum", date },
                         { "ad_strecke", distance },
                         { "ad_ang_jn", true },
                         { "ad_ang_datum", registration },
                         { "ad_bezahlt_jn", paid },
                         { "ad_strecke_sg", "10 km" },
                         { "ad_sg1_datum", "31.01.2024" },
                         { "ad_sg2_datum", "30.04.2024" },
                         { "ad_sg3_datum", "31.08.2024" },
                         { "ad_sg11", "45" },
                         { "ad_sg12", "30" },
                         { "ad_sg13", "frei" },
                         { "ad_sg21", "55,-" },
                         { "ad_sg22", "" },
                         { "ad_sg23", "ca. 20" },
                         { "ad_sg31", "65 €" },
                         { "ad_sg32", "40,50" },
                         { "ad_sg33", "EUR 25" } });
    }
    void addLog()
    {
        addPaid("Berlin-Marathon", "15.09.2024", "Marathon", "10.01.2024");
        addPaid("Halbmarathon", "16.09.2024", "Halb-Marathon", "01.02.2024");
        addPaid("Stadtlauf", "17.09.2024", "10 km", "01.02.2024");
        addPaid("Nicht bezahlt", "18.09.2024", "Marathon", "10.01.2024", " ");
        addPaid("Neujahrslauf", "01.01.2025", "Marathon", "01.03.2024");
    }
};
} // namespace

TEST_F(SeasonFeesWindowTest, TheStoreReadsTheFeesOfPaidRacesOnly)
{
    addLog();
    RaceStore store(folder.dbPath());
    const RaceStatistics stats = readStatistics(store);
    ASSERT_EQ(stats.years.size(), 2u);
    EXPECT_EQ(stats.years[0].feeCents, 4500 + 4050);
    EXPECT_EQ(stats.years[1].feeCents, 5500);
    EXPECT_EQ(stats.unreadableFees, 1);
}

TEST_F(SeasonFeesWindowTest, RacesPerYearShowWhatTheSeasonCost)
{
    addLog();
    StatisticsWindow form(ctx);
    control<QTabWidget>(form, "stat_tabs")->setCurrentIndex(StatisticsWindow::YearTab);

    const QAbstractItemModel *grid = control<QTableView>(form, "stat_g_jahre")->model();
    ASSERT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->headerData(5, Qt::Horizontal).toString(), "Startgeld (€)");
    EXPECT_EQ(grid->index(0, 5).data().toString(), "85,50");
    EXPECT_EQ(grid->index(1, 5).data().toString(), "55,00");

    EXPECT_EQ(control<QLabel>(form, "stat_l_hinweis")->text(),
              "Nicht ausgewertet: 1 bezahlter Lauf mit nicht lesbarem Startgeld. Welche, zeigt "
              "der Tooltip.");
    EXPECT_EQ(control<QLabel>(form, "stat_l_hinweis")->toolTip(),
              "Stadtlauf (17.09.2024): „ca. 20“ – Startgeld nicht lesbar");

    const QChart *chart = control<QChartView>(form, "stat_ch_jahre")->chart();
    const auto *fees = qobject_cast<const QLineSeries *>(chart->series().value(2));
    ASSERT_NE(fees, nullptr);
    EXPECT_EQ(fees->name(), "Startgeld (€)");
    EXPECT_EQ(fees->points(), (QList<QPointF> { { 0, 85.5 }, { 1, 55 } }));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}
