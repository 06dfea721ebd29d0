#include "TestFolder.h"
#include "data/RaceStore.h"
#include "statistics/FinishTime.h"
#include "statistics/StatisticsCache.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// More races than two slices hold, run over 10 km in 50:00 and slower; the fastest is given
// later by the cases themselves.
constexpr int kRaces = 2 * StatisticsCache::kSliceRaces + 123;

struct StatisticsCacheTest : ::testing::Test
{
    TestFolder folder;
    RaceStore store { folder.dbPath() };
    StatisticsCache cache { store };
    std::vector<Race> races;

    void SetUp() override
    {
        races.resize(kRaces);
        for (int i = 0; i < kRaces; ++i) {
            Race &race = races[size_t(i)];
            race.name = QStringLiteral("Lauf %1").arg(i);
            race.date = StoredDate(QDate(2000 + i % 20, 5, 1 + i % 28).toString(u"dd.MM.yyyy"));
            race.distance = QStringLiteral("10 km");
            race.finishTime = formatFinishTime(3'000'000 + i * 1000);
            race.run.set(true);
        }
        store.addRaces(races, {});
    }

    void runFaster(size_t index, const QString &time)
    {
        Race race = *store.race(races[index].number);
        race.finishTime = time;
        store.save(race);
    }

    static std::string bestOf(const RaceStatistics &stats)
    {
        if (stats.bests.empty() || !stats.bests[0].ms)
            return {};
        return (stats.bests[0].race + u' ' + formatFinishTime(*stats.bests[0].ms)).toStdString();
    }
};

} // namespace

TEST_F(StatisticsCacheTest, KeptFiguresAreThoseOfOneReadingOfAllRaces)
{
    int slices = 1;
    while (cache.readSlice())
        ++slices;
    EXPECT_EQ(slices, 3);
    EXPECT_FALSE(cache.readSlice()) << "up to date: nothing more to read";

    const RaceStatistics whole = readStatistics(store);
    const RaceStatistics &kept = cache.current();
    ASSERT_EQ(kept.years.size(), whole.years.size());
    for (size_t i = 0; i < kept.years.size(); ++i) {
        EXPECT_EQ(kept.years[i].year, whole.years[i].year);
        EXPECT_EQ(kept.years[i].run, whole.years[i].run);
        EXPECT_DOUBLE_EQ(kept.years[i].km, whole.years[i].km);
    }
    EXPECT_EQ(bestOf(kept), "Lauf 0 0:50:00");
    ASSERT_EQ(kept.progressions.size(), 1u);
    EXPECT_EQ(kept.progressions[0].points.size(), size_t(kRaces));
}

// A race saved while the slices are read may lie in a slice already added up.
TEST_F(StatisticsCacheTest, AChangeBetweenSlicesStartsTheReadingAgain)
{
    ASSERT_TRUE(cache.readSlice());
    runFaster(10, QStringLiteral("39:59"));
    while (cache.readSlice()) { }
    EXPECT_FALSE(cache.readSlice()) << "the slices read since the change are up to date";
    EXPECT_EQ(bestOf(cache.current()), "Lauf 10 0:39:59");
}

TEST_F(StatisticsCacheTest, ChangesOfThisProgramAndOfOthersMakeTheKeptFiguresOld)
{
    EXPECT_EQ(bestOf(cache.current()), "Lauf 0 0:50:00");
    runFaster(kRaces - 1, QStringLiteral("41:00"));
    EXPECT_EQ(bestOf(cache.current()),
              QStringLiteral("Lauf %1 0:41:00").arg(kRaces - 1).toStdString());

    // Another program writes into the file.
    SqliteDb other(folder.dbPath(), SqliteDb::Open::ReadWrite);
    other.exec("update adressen set ad_zeit = '40:00' where ad_lauf = 'Lauf 7'");
    EXPECT_EQ(bestOf(cache.current()), "Lauf 7 0:40:00");
}

TEST_F(StatisticsCacheTest, IdleTimeBringsTheFiguresUpToDate)
{
    const auto idle = [] {
        for (int turn = 0; turn < 20; ++turn)
            QCoreApplication::processEvents();
    };
    cache.updateWhenIdle();
    idle();
    EXPECT_FALSE(cache.readSlice()) << "idle time has read every race";
    runFaster(5, QStringLiteral("42:00"));
    cache.updateWhenIdle();
    idle();
    EXPECT_FALSE(cache.readSlice()) << "idle time has read the change";
    EXPECT_EQ(bestOf(cache.current()), "Lauf 5 0:42:00");
}
