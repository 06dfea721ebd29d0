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

// A Marathon with deadlines and Marathon fees given as "a|b|c" (other rows filled with noise).
Race marathon(const char *deadlines, const char *fees)
{
    Race race = raceOver(QStringLiteral("Marathon"), QStringLiteral("10 km"));
    const QStringList dates = QString::fromUtf8(deadlines).split(u'|');
    const QStringList typed = QString::fromUtf8(fees).split(u'|');
    for (size_t i = 0; i < 3; ++i) {
        race.fees.deadlines[i] = StoredDate(dates.value(qsizetype(i)));
        race.fees.fees[i] = { typed.value(qsizetype(i)), QStringLiteral("1"), QStringLiteral("2") };
    }
    return race;
}

QDate day(const char *text)
{
    return dateOfStoredText(QString::fromLatin1(text));
}

// "45 bis 01.03.2027" or "-" for no step.
QString describe(const std::optional<FeeStep> &step)
{
    return step ? step->fee.typed + QStringLiteral(" bis ") + step->deadline.toString("dd.MM.yyyy")
                : QStringLiteral("-");
}

// "fee today; next fee; days to the rise", "abgelaufen" after the last deadline.
QString describe(const FeeSituation &s, const QDate &on)
{
    if (s.expired)
        return QStringLiteral("abgelaufen");
    const std::optional<qint64> days = s.daysToRise(on);
    return describe(s.today) + QStringLiteral("; ") + describe(s.next) + QStringLiteral("; ")
        + (days ? QString::number(*days) : QStringLiteral("-"));
}

TEST(EntryFees, TellsTheFeeTodayAndTheNextRise)
{
    const char *const kDates = "01.03.2027|01.06.2027|01.09.2027";
    const struct
    {
        const char *deadlines, *fees, *day, *expected;
    } cases[] = {
        // Before, on and after a deadline, which counts as its own day.
        { kDates, "30|40|50", "15.02.2027", "30 bis 01.03.2027; 40 bis 01.06.2027; 15" },
        { kDates, "30|40|50", "01.03.2027", "30 bis 01.03.2027; 40 bis 01.06.2027; 1" },
        { kDates, "30|40|50", "02.03.2027", "40 bis 01.06.2027; 50 bis 01.09.2027; 92" },
        { kDates, "30|40|50", "01.09.2027", "50 bis 01.09.2027; -; -" },
        { kDates, "30|40|50", "02.09.2027", "abgelaufen" },
        // Empty cells between filled ones are skipped, so are deadlines that are no dates.
        { kDates, "30| |50", "02.03.2027", "50 bis 01.09.2027; -; -" },
        { kDates, "30||50", "01.03.2027", "30 bis 01.03.2027; 50 bis 01.09.2027; 1" },
        { "01.03.2027|Juni|01.09.2027", "30|40|50", "10.03.2027", "50 bis 01.09.2027; -; -" },
        { "1.3.2027|01.06.2027|", "30|40|", "01.03.2027", "40 bis 01.06.2027; -; -" },
        // The editor's label form of a date.
        { "01.03.2027, Montag|01.06.2027|", "30|40|", "01.03.2027",
          "30 bis 01.03.2027; 40 bis 01.06.2027; 1" },
        // Deadlines out of order count by date; of two on one date the first column counts.
        { "01.09.2027|01.03.2027|01.06.2027", "50|30|40", "15.02.2027",
          "30 bis 01.03.2027; 40 bis 01.06.2027; 15" },
        { "01.03.2027|01.03.2027|01.09.2027", "30|35|50", "01.03.2027",
          "30 bis 01.03.2027; 50 bis 01.09.2027; 1" },
        // The same fee twice applies up to the later deadline.
        { kDates, "40|40,00 €|50", "15.02.2027", "40,00 € bis 01.06.2027; 50 bis 01.09.2027; 107" },
        // 29 February only in a leap year; a rise across the turn of the year.
        { "29.02.2028|31.03.2028|", "30|40|", "29.02.2028",
          "30 bis 29.02.2028; 40 bis 31.03.2028; 1" },
        { "29.02.2027|31.03.2027|", "30|40|", "01.02.2027", "40 bis 31.03.2027; -; -" },
        { "31.12.2026|31.01.2027|", "30|40|", "31.12.2026",
          "30 bis 31.12.2026; 40 bis 31.01.2027; 1" },
        // An unreadable fee is a step all the same; a cheaper fee later is no rise.
        { kDates, "ca. 30|40|", "15.02.2027", "ca. 30 bis 01.03.2027; 40 bis 01.06.2027; 15" },
        { kDates, "40|30|", "15.02.2027", "40 bis 01.03.2027; 30 bis 01.06.2027; -" },
        // No deadlines, or no fees: nothing applies, and nothing has expired.
        { "||", "30|40|50", "15.02.2027", "-; -; -" },
        { kDates, "| |", "15.02.2027", "-; -; -" },
    };
    for (const auto &c : cases) {
        const FeeSituation s = feeSituation(marathon(c.deadlines, c.fees), day(c.day));
        EXPECT_EQ(describe(s, day(c.day)), QString::fromUtf8(c.expected))
            << c.deadlines << " / " << c.fees << " on " << c.day;
    }
}

TEST(EntryFees, TakesTheFeesOfTheRacesOwnRow)
{
    Race race = marathon("01.03.2027|01.06.2027|", "30|40|");
    race.fees.fees[0][2] = QStringLiteral("12");
    race.fees.fees[1][2] = QStringLiteral("frei");
    race.distance = QStringLiteral("10 KM");
    EXPECT_EQ(describe(feeSituation(race, day("01.01.2027")), day("01.01.2027")),
              "12 bis 01.03.2027; frei bis 01.06.2027; -");
    race.distance = QStringLiteral("Halbmarathon"); // no row of the table
    EXPECT_EQ(describe(feeSituation(race, day("01.01.2027")).today), "-");
}

} // namespace
