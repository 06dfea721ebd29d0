#include "model/EntryFees.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 kNone = -1;

qint64 centsOrNone(const QString &typed)
{
    return parseEuroCents(typed).value_or(kNone);
}

TEST(EntryFees, ReadsFeesAsPeopleTypeThem)
{
    const struct
    {
        const char *typed;
        qint64 cents;
    } cases[] = {
        { "45", 4500 },
        { "45,-", 4500 },
        { "45,--", 4500 },
        { "45.-", 4500 },
        { "45,– €", 4500 },
        { "45,—", 4500 },
        { "45,50", 4550 },
        { "45,5", 4550 },
        { "45.50", 4550 },
        { "EUR 45", 4500 },
        { "eur45", 4500 },
        { "45 Euro", 4500 },
        { "45 EUR", 4500 },
        { "45€", 4500 },
        { "€ 45,00", 4500 },
        { "\u00a045,00\u00a0€ ", 4500 },
        { "1.234,50", 123450 },
        { "1.234,-", 123400 },
        { "0", 0 },
        { "0,00 €", 0 },
        { "frei", 0 },
        { "Frei", 0 },
        { "kostenlos", 0 },
        // Never guessed: shown as typed.
        { "ca. 40", kNone },
        { "siehe Homepage", kNone },
        { "40/45", kNone },
        { "40-45", kNone },
        { "1.234", kNone },
        { "45,505", kNone },
        { "45,50,00", kNone },
        { "-45", kNone },
        { "€ 45 €", kNone },
        { "45 $", kNone },
        { "1234567890", kNone },
        { "", kNone },
        { " ", kNone },
        { "€", kNone },
        { ",50", kNone },
    };
    for (const auto &c : cases)
        EXPECT_EQ(centsOrNone(QString::fromUtf8(c.typed)), c.cents) << c.typed;
}

TEST(EntryFees, FormatsEurosTheGermanWay)
{
    const struct
    {
        qint64 cents;
        const char *text;
    } cases[] = {
        { 0, "0,00 €" },          { 5, "0,05 €" },
        { 4500, "45,00 €" },      { 4550, "45,50 €" },
        { 99999, "999,99 €" },    { 100000, "1.000,00 €" },
        { 123450, "1.234,50 €" }, { 123456789, "1.234.567,89 €" },
        { -4550, "-45,50 €" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatEuro(c.cents), QString::fromUtf8(c.text)) << c.cents;
}

Race raceOver(const QString &distance, const QString &third = {})
{
    Race race;
    race.distance = distance;
    race.fees.thirdDistance = third;
    return race;
}

TEST(EntryFees, FindsTheRowOfTheRacesDistance)
{
    const struct
    {
        const char *distance;
        const char *third;
        int row; // -1: none
    } cases[] = {
        { "Marathon", "", 0 },
        { "Halb-Marathon", "", 1 },
        { "marathon", "", 0 },
        { " HALB-MARATHON ", "", 1 },
        { "10 km", "10 km", 2 },
        { "10km", "10 KM", 2 },
        { "Straßenlauf", "straßen lauf", 2 },
        { "Müllerlauf", "MÜLLERLAUF", 2 },
        { "Straßenlauf", "Strassenlauf", -1 }, // as the German order has it: ß follows ss
        { "Marathon", "Marathon", 0 }, // the named rows come first
        { "10 km", "", -1 },
        { "10 km", "5 km", -1 },
        { "Müllerlauf", "Mullerlauf", -1 }, // umlauts are letters of their own
        { " ", "", -1 }, // neither registered nor run: no distance
        { " ", " ", -1 },
        { "", "", -1 },
    };
    for (const auto &c : cases) {
        const std::optional<int> row
            = feeRow(raceOver(QString::fromUtf8(c.distance), QString::fromUtf8(c.third)));
        EXPECT_EQ(row.value_or(-1), c.row) << c.distance << " / " << c.third;
    }
}

// A Marathon with the given deadlines and Marathon fees (other rows filled with noise).
Race marathon(std::array<const char *, 3> deadlines, std::array<const char *, 3> fees)
{
    Race race = raceOver(QStringLiteral("Marathon"), QStringLiteral("10 km"));
    for (size_t i = 0; i < 3; ++i) {
        race.fees.deadlines[i] = StoredDate(QString::fromUtf8(deadlines[i]));
        race.fees.fees[i][0] = QString::fromUtf8(fees[i]);
        race.fees.fees[i][1] = QStringLiteral("1");
        race.fees.fees[i][2] = QStringLiteral("2");
    }
    return race;
}

QDate day(const char *text)
{
    return dateOfStoredText(QString::fromLatin1(text));
}

// "45 bis 01.03.2027" or "-" for no step.
std::string describe(const std::optional<FeeStep> &step)
{
    if (!step)
        return "-";
    return (step->fee.typed + QStringLiteral(" bis ") + step->deadline.toString("dd.MM.yyyy"))
        .toStdString();
}

TEST(EntryFees, TellsTheFeeTodayAndTheNextRise)
{
    const struct
    {
        const char *what;
        std::array<const char *, 3> deadlines;
        std::array<const char *, 3> fees;
        const char *day;
        const char *today;
        const char *next;
        bool expired;
        int daysToRise; // -1: none
    } cases[] = {
        { "before the first deadline",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "40", "50" },
          "15.02.2027",
          "30 bis 01.03.2027",
          "40 bis 01.06.2027",
          false,
          15 },
        { "on a deadline, which still counts",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "40", "50" },
          "01.03.2027",
          "30 bis 01.03.2027",
          "40 bis 01.06.2027",
          false,
          1 },
        { "the day after a deadline",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "40", "50" },
          "02.03.2027",
          "40 bis 01.06.2027",
          "50 bis 01.09.2027",
          false,
          92 },
        { "on the last deadline",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "40", "50" },
          "01.09.2027",
          "50 bis 01.09.2027",
          "-",
          false,
          -1 },
        { "after the last deadline",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "40", "50" },
          "02.09.2027",
          "-",
          "-",
          true,
          -1 },
        { "an empty cell between filled ones is skipped",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", " ", "50" },
          "02.03.2027",
          "50 bis 01.09.2027",
          "-",
          false,
          -1 },
        { "the empty cell's deadline gives no rise",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "30", "", "50" },
          "01.03.2027",
          "30 bis 01.03.2027",
          "50 bis 01.09.2027",
          false,
          1 },
        { "a deadline in the editor's label form counts",
          { "01.03.2027, Montag", "01.06.2027", "" },
          { "30", "40", "" },
          "01.03.2027",
          "30 bis 01.03.2027",
          "40 bis 01.06.2027",
          false,
          1 },
        { "a deadline in a shorter form is none",
          { "1.3.2027", "01.06.2027", "" },
          { "30", "40", "" },
          "01.03.2027",
          "40 bis 01.06.2027",
          "-",
          false,
          -1 },
        { "a deadline that is no date is skipped",
          { "01.03.2027", "Juni", "01.09.2027" },
          { "30", "40", "50" },
          "10.03.2027",
          "50 bis 01.09.2027",
          "-",
          false,
          -1 },
        { "deadlines out of order count by date",
          { "01.09.2027", "01.03.2027", "01.06.2027" },
          { "50", "30", "40" },
          "15.02.2027",
          "30 bis 01.03.2027",
          "40 bis 01.06.2027",
          false,
          15 },
        { "two deadlines on one date: the first column counts",
          { "01.03.2027", "01.03.2027", "01.09.2027" },
          { "30", "35", "50" },
          "01.03.2027",
          "30 bis 01.03.2027",
          "50 bis 01.09.2027",
          false,
          1 },
        { "the same fee twice applies up to the later deadline",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "40", "40,00 €", "50" },
          "15.02.2027",
          "40,00 € bis 01.06.2027",
          "50 bis 01.09.2027",
          false,
          107 },
        { "29 February of a leap year is a deadline",
          { "29.02.2028", "31.03.2028", "" },
          { "30", "40", "" },
          "29.02.2028",
          "30 bis 29.02.2028",
          "40 bis 31.03.2028",
          false,
          1 },
        { "29 February of a common year is none",
          { "29.02.2027", "31.03.2027", "" },
          { "30", "40", "" },
          "01.02.2027",
          "40 bis 31.03.2027",
          "-",
          false,
          -1 },
        { "a rise across the turn of the year",
          { "31.12.2026", "31.01.2027", "" },
          { "30", "40", "" },
          "31.12.2026",
          "30 bis 31.12.2026",
          "40 bis 31.01.2027",
          false,
          1 },
        { "an unreadable fee is a step all the same",
          { "01.03.2027", "01.06.2027", "" },
          { "ca. 30", "40", "" },
          "15.02.2027",
          "ca. 30 bis 01.03.2027",
          "40 bis 01.06.2027",
          false,
          15 },
        { "a cheaper fee later is no rise",
          { "01.03.2027", "01.06.2027", "" },
          { "40", "30", "" },
          "15.02.2027",
          "40 bis 01.03.2027",
          "30 bis 01.06.2027",
          false,
          -1 },
        { "no deadlines at all",
          { "", "", "" },
          { "30", "40", "50" },
          "15.02.2027",
          "-",
          "-",
          false,
          -1 },
        { "deadlines without fees",
          { "01.03.2027", "01.06.2027", "01.09.2027" },
          { "", " ", "" },
          "15.02.2027",
          "-",
          "-",
          false,
          -1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const FeeSituation s = feeSituation(marathon(c.deadlines, c.fees), day(c.day));
        EXPECT_EQ(describe(s.today), c.today);
        EXPECT_EQ(describe(s.next), c.next);
        EXPECT_EQ(s.expired, c.expired);
        EXPECT_EQ(s.daysToRise(day(c.day)).value_or(-1), c.daysToRise);
    }
}

TEST(EntryFees, TakesTheFeesOfTheRacesOwnRow)
{
    Race race = marathon({ "01.03.2027", "01.06.2027", "" }, { "30", "40", "" });
    race.fees.fees[0][2] = QStringLiteral("12");
    race.fees.fees[1][2] = QStringLiteral("frei");
    race.distance = QStringLiteral("10 KM");
    const FeeSituation s = feeSituation(race, day("01.01.2027"));
    EXPECT_EQ(describe(s.today), "12 bis 01.03.2027");
    EXPECT_EQ(describe(s.next), "frei bis 01.06.2027");
    EXPECT_FALSE(s.rises());

    race.distance = QStringLiteral("Halbmarathon"); // no row of the table
    EXPECT_EQ(describe(feeSituation(race, day("01.01.2027")).today), "-");
}

} // namespace
