#include "StatisticsFixture.h"
#include "data/RaceStore.h"
#include "statistics/FinishTime.h"
#include "statistics/RaceStatistics.h"

#include <gtest/gtest.h>

namespace {
RaceStatistics statisticsOf(const QString &databasePath)
{
    RaceStore store(databasePath);
    return readStatistics(store);
}

// A race run on `date`.
Race ran(const QString &date, const QString &distance = {}, const QString &time = {})
{
    Race race;
    race.date = StoredDate(date);
    race.distance = distance;
    race.finishTime = time;
    race.run.set(true);
    return race;
}

struct RaceStatisticsTest : ::testing::Test
{
    TestFolder folder { TestFolder::Content::Seeded };
    RaceStatistics stats;

    void SetUp() override
    {
        addKnownRaces(folder);
        stats = statisticsOf(folder.dbPath());
    }
};

QString shown(const std::optional<int> &ms)
{
    return ms ? formatFinishTime(*ms) : QStringLiteral("-");
}
} // namespace

TEST_F(RaceStatisticsTest, BestTimePerDistanceWithRacePlaceDateAndFinishes)
{
    ASSERT_EQ(stats.bests.size(), 4u);
    const BestTime &marathon = stats.bests[0];
    EXPECT_EQ(marathon.distance, "Marathon");
    EXPECT_EQ(shown(marathon.ms), "3:41:07");
    EXPECT_EQ(marathon.race, "Neujahrsmarathon");
    EXPECT_EQ(marathon.place, "Zürich");
    EXPECT_EQ(marathon.date, QDate(2020, 1, 1));
    EXPECT_EQ(marathon.finishes, 3); // the misread time is still a finish

    EXPECT_EQ(stats.bests[1].distance, "Halb-Marathon");
    EXPECT_EQ(shown(stats.bests[1].ms), "1:52:10,5");

    // "10 km", "10km" and "10 KM" are one distance; "ja" is not "Ja".
    const BestTime &ten = stats.bests[2];
    EXPECT_EQ(ten.distance, "10 km");
    EXPECT_EQ(shown(ten.ms), "0:46:30");
    EXPECT_EQ(ten.race, "Brückenlauf");
    EXPECT_EQ(ten.finishes, 3);

    EXPECT_EQ(stats.bests[3].distance, "Ultra 70 km");
    EXPECT_EQ(shown(stats.bests[3].ms), "7:05:00");
}

TEST_F(RaceStatisticsTest, YearsSplitAtNewYearAndListOnlyYearsWithRaces)
{
    ASSERT_EQ(stats.years.size(), 3u);
    const YearFigures &y2019 = stats.years[0];
    EXPECT_EQ(y2019.year, 2019);
    EXPECT_EQ(y2019.run, 2); // Silvesterlauf on 31.12. belongs here
    EXPECT_EQ(y2019.registered, 2);
    EXPECT_EQ(y2019.noted, 1);
    EXPECT_NEAR(y2019.km, 42.195 + 10, 1e-9);

    const YearFigures &y2020 = stats.years[1];
    EXPECT_EQ(y2020.year, 2020);
    EXPECT_EQ(y2020.run, 6); // the one on 01.01. here, the race without distance too
    EXPECT_EQ(y2020.registered, 5);
    EXPECT_NEAR(y2020.km, 2 * 42.195 + 2 * 10 + 21.0975, 1e-9);

    const YearFigures &y2022 = stats.years[2]; // none in 2021
    EXPECT_EQ(y2022.year, 2022);
    EXPECT_EQ(y2022.run, 1);
    EXPECT_EQ(y2022.noted, 1);
    EXPECT_NEAR(y2022.km, 70, 1e-9);
}

TEST_F(RaceStatisticsTest, LeavesOutWhatCannotBeReadAndSaysWhy)
{
    EXPECT_EQ(stats.damagedDates, 2);
    EXPECT_EQ(stats.unreadableTimes, 2);
    EXPECT_EQ(stats.runWithoutDistance, 1);
    QStringList lines;
    for (const LeftOut &entry : stats.leftOut)
        lines << describeLeftOut(entry);
    EXPECT_EQ(
        lines,
        (QStringList {
            QStringLiteral("Nachtlauf (11.07.2020): „DNF“ – Zeit nicht lesbar"),
            QStringLiteral("Berlin-Marathon (27.09.2020): „3:45“ – Zeit zu kurz für Marathon"),
            QStringLiteral("Kaputtlauf (31.02.2020) – Datum nicht lesbar"),
            QStringLiteral("Ohnedatum – kein Datum eingetragen"),
        }));
}

TEST_F(RaceStatisticsTest, ProgressionHoldsTheReadableTimesByDateWithTheBestMarked)
{
    ASSERT_EQ(stats.progressions.size(), 4u);
    const Progression &marathon = stats.progressions[0];
    EXPECT_EQ(marathon.distance, "Marathon");
    ASSERT_EQ(marathon.points.size(), 2u);
    EXPECT_EQ(marathon.points[0].date, QDate(2019, 12, 31));
    EXPECT_EQ(formatFinishTime(marathon.points[0].ms), "3:50:00");
    EXPECT_EQ(marathon.points[1].date, QDate(2020, 1, 1));
    EXPECT_EQ(marathon.best, 1);

    const Progression &ten = stats.progressions[2];
    ASSERT_EQ(ten.points.size(), 2u);
    EXPECT_EQ(ten.points[0].race, "Stadtlauf");
    EXPECT_EQ(ten.best, 1);
}

TEST(RaceStatisticsEmpty, AnEmptyLogGivesNoFigures)
{
    TestFolder folder;
    const RaceStatistics stats = statisticsOf(folder.dbPath());
    EXPECT_TRUE(stats.bests.empty());
    EXPECT_TRUE(stats.years.empty());
    EXPECT_TRUE(stats.progressions.empty());
    EXPECT_TRUE(stats.leftOut.empty());
}

TEST(RaceStatisticsOrder, DistancesByLengthThenByName)
{
    std::vector<Race> races;
    for (const char *strecke :
         { "Crosslauf", "10 km", "Berglauf", "5 km", "Halb-Marathon", "Marathon" })
        races.push_back(ran("01.05.2021", QString::fromUtf8(strecke), "1:00:00"));
    QStringList order;
    for (const BestTime &b : computeStatistics(races).bests)
        order << b.distance;
    EXPECT_EQ(
        order,
        (QStringList { "Marathon", "Halb-Marathon", "5 km", "10 km", "Berglauf", "Crosslauf" }));
}

TEST(RaceStatisticsYears, AYearMistypedFarFromTheOthersAddsOneYearOnly)
{
    const std::vector<Race> races { ran("04.05.0205"), // meant 2025
                                    ran("01.05.2025"), ran("01.05.2026") };
    QList<int> listed;
    for (const YearFigures &year : computeStatistics(races).years)
        listed << year.year;
    EXPECT_EQ(listed, (QList<int> { 205, 2025, 2026 }));
}
