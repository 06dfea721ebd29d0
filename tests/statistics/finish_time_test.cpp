#include "statistics/Distance.h"
#include "statistics/FinishTime.h"
#include "statistics/StatisticsCharts.h"

#include <gtest/gtest.h>

namespace {
constexpr int kH = 3600 * 1000;
constexpr int kM = 60 * 1000;
constexpr int kS = 1000;
} // namespace

TEST(FinishTime, ReadsTheUsualForms)
{
    const struct
    {
        const char16_t *text;
        int ms;
    } cases[] = {
        { u"3:45:12", 3 * kH + 45 * kM + 12 * kS },
        { u" 03:45:12 ", 3 * kH + 45 * kM + 12 * kS },
        { u"45:30", 45 * kM + 30 * kS }, // two groups are minutes and seconds
        { u"125:30", 125 * kM + 30 * kS },
        { u"1:02:03,5", kH + 2 * kM + 3 * kS + 500 },
        { u"1:02:03.25", kH + 2 * kM + 3 * kS + 250 },
        { u"45:30,7", 45 * kM + 30 * kS + 700 },
        { u"3.45.12", 3 * kH + 45 * kM + 12 * kS },
        { u"3.45.12,5", 3 * kH + 45 * kM + 12 * kS + 500 },
        { u"3:45 h", 3 * kH + 45 * kM }, // a unit names the first group
        { u"3.45 Std.", 3 * kH + 45 * kM },
        { u"45:30 min", 45 * kM + 30 * kS },
        { u"1:02:03h", kH + 2 * kM + 3 * kS },
        { u"3h 45min 12s", 3 * kH + 45 * kM + 12 * kS },
        { u"3 Std. 45 Min. 12 Sek.", 3 * kH + 45 * kM + 12 * kS },
        { u"3h45", 3 * kH + 45 * kM }, // a last bare number counts in the next smaller unit
        { u"45min30", 45 * kM + 30 * kS },
        { u"45'30''", 45 * kM + 30 * kS },
        { u"52 Minuten", 52 * kM },
        { u"3,5 h", 3 * kH + 30 * kM },
        { u"12,5 s", 12 * kS + 500 },
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const std::optional<int> ms = parseFinishTime(text);
        ASSERT_TRUE(ms.has_value()) << text.toStdString();
        EXPECT_EQ(*ms, c.ms) << text.toStdString();
        // The statistics read the stored bytes.
        EXPECT_EQ(parseFinishTime(std::string_view(text.toStdString())), ms) << text.toStdString();
    }
}

TEST(FinishTime, RefusesWhatItCannotReadWithoutGuessing)
{
    for (const char16_t *text : { u"",
                                  u"   ",
                                  u"DNF",
                                  u"aufgegeben",
                                  u"225", // a bare number has no unit
                                  u"45.30", // decimal minutes or minutes and seconds?
                                  u"3:75:00",
                                  u"3:45:60",
                                  u"3:5:12", // later groups need two digits below 60
                                  u"0:00:00",
                                  u"3:45:12:10",
                                  u"3.45.12.5",
                                  u"3:45:12 (netto)",
                                  u"3:45,5 h",
                                  u"3:45:12 min",
                                  u"12s 45min", // units largest first
                                  u"3h 45min 75s",
                                  u"3h 45h",
                                  u"3,5h 10min", // a fraction only on the last number
                                  u"45 Meilen",
                                  u"100:00:00",
                                  u"1:02:03,5555",
                                  u"1234:56" }) {
        const std::string bytes = QString::fromUtf16(text).toStdString();
        EXPECT_FALSE(parseFinishTime(QString::fromUtf16(text)).has_value()) << bytes;
        EXPECT_FALSE(parseFinishTime(std::string_view(bytes)).has_value()) << bytes;
    }
}

TEST(FinishTime, FormatsAsHoursMinutesSeconds)
{
    EXPECT_EQ(formatFinishTime(3 * kH + 5 * kM + 7 * kS), "3:05:07");
    EXPECT_EQ(formatFinishTime(45 * kM + 30 * kS), "0:45:30");
    EXPECT_EQ(formatFinishTime(kH + 2 * kM + 3 * kS + 500), "1:02:03,5");
    EXPECT_EQ(formatFinishTime(26 * kH), "26:00:00");
}

TEST(Distance, GroupsSpellingsOfOneDistance)
{
    for (const char *text :
         { "10 km", "10km", "10 KM", " 10  Km ", "10000 m", "10.000 m", "10,0 km" }) {
        const Distance d = readDistance(QString::fromUtf8(text));
        EXPECT_EQ(d.key, "10 km") << text;
        EXPECT_EQ(d.label, "10 km") << text;
        ASSERT_TRUE(d.km.has_value()) << text;
        EXPECT_DOUBLE_EQ(*d.km, 10.0) << text;
    }
    for (const char *text : { "Marathon", "marathon", " MARATHON " })
        EXPECT_EQ(readDistance(QString::fromUtf8(text)).key, "Marathon") << text;
    for (const char *text : { "Halb-Marathon", "Halbmarathon", "halb marathon" }) {
        const Distance d = readDistance(QString::fromUtf8(text));
        EXPECT_EQ(d.key, "Halb-Marathon") << text;
        EXPECT_DOUBLE_EQ(d.km.value_or(0), 21.0975) << text;
    }
    EXPECT_DOUBLE_EQ(readDistance("Marathon").km.value_or(0), 42.195);
    EXPECT_EQ(readDistance("21,1 km").label, "21,1 km");
    EXPECT_EQ(readDistance("21.1km").label, "21,1 km");
    EXPECT_EQ(readDistance("800m").label, "800 m");
    EXPECT_DOUBLE_EQ(readDistance("800m").km.value_or(0), 0.8);
    EXPECT_TRUE(readDistance(" ").key.isEmpty());
}

TEST(Distance, FreeTextKeepsItsNameAndGivesItsLengthWhenUnambiguous)
{
    const Distance ultra = readDistance("Ultra 70 km");
    EXPECT_EQ(ultra.label, "Ultra 70 km");
    EXPECT_EQ(ultra.key, readDistance("ultra  70 KM").key);
    EXPECT_DOUBLE_EQ(ultra.km.value_or(0), 70.0);

    EXPECT_FALSE(readDistance("Crosslauf").km.has_value());
    EXPECT_FALSE(readDistance("2 x 5 km + 800 m").km.has_value());
    EXPECT_FALSE(readDistance("Marathonstaffel").km.has_value());
    EXPECT_NE(readDistance("Marathonstaffel").key, "Marathon");
    EXPECT_FALSE(readDistance("5 min Lauf").km.has_value()); // "min" is no unit of length
}

TEST(TimeAxis, TicksAreRoundAndCoverTheRange)
{
    const struct
    {
        int low, high, step;
    } cases[] = {
        { (3 * 3600 + 12 * 60) * kS, (4 * 3600 + 3 * 60) * kS, 600 },
        { (41 * 60 + 10) * kS, (44 * 60 + 50) * kS, 60 },
        { (2 * 3600) * kS, (6 * 3600) * kS, 3600 },
        { (3 * 3600 + 30 * 60) * kS, (3 * 3600 + 30 * 60) * kS, 60 }, // one time alone
    };
    for (const auto &c : cases) {
        const std::vector<int> ticks = StatisticsCharts::timeTicks(c.low, c.high);
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), 8u);
        EXPECT_LE(ticks.front() * 1000, c.low);
        EXPECT_GE(ticks.back() * 1000, c.high);
        for (size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], c.step);
        EXPECT_EQ(ticks.front() % c.step, 0);
    }
}
