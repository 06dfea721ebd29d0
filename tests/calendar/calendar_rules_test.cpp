#include "calendar/CalendarRules.h"

#include <gtest/gtest.h>

using namespace CalendarRules;

namespace {
// An oracle that shares nothing with the calendar: Gregorian leap years and Sakamoto's
// weekday formula, on plain integers.
bool oracleLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int oracleMonthLength(int y, int m)
{
    static const int lengths[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return m == 2 && oracleLeap(y) ? 29 : lengths[m - 1];
}

// 0 = Monday .. 6 = Sunday
int oracleWeekdayMondayFirst(int y, int m, int d)
{
    static const int t[] = { 0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4 };
    if (m < 3)
        y -= 1;
    const int sundayFirst = (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7; // 0 = Sunday
    return (sundayFirst + 6) % 7;
}

std::vector<int> cellsWithDays(const QDate &date)
{
    std::vector<int> cells;
    for (int c = 0; c < CellCount; ++c)
        if (dayInCell(date, c) != 0)
            cells.push_back(c);
    return cells;
}
} // namespace

TEST(CalendarGrid, AgreesWithIndependentOracleFrom1900To2100)
{
    for (int y = 1900; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            SCOPED_TRACE(QStringLiteral("%1/%2").arg(m).arg(y).toStdString());
            const QDate date(y, m, 15);
            const int length = oracleMonthLength(y, m);
            const int firstCell = oracleWeekdayMondayFirst(y, m, 1);
            ASSERT_EQ(monthLength(y, m), length);
            ASSERT_EQ(cellOfDay(date, 1), firstCell);
            ASSERT_EQ(cellOfDay(date, length), firstCell + length - 1);
            ASSERT_EQ(dayInCell(date, firstCell), 1);
            ASSERT_EQ(dayInCell(date, firstCell + length - 1), length);
            // Exactly the month's days are shown, no more.
            const std::vector<int> cells = cellsWithDays(date);
            ASSERT_EQ(int(cells.size()), length);
            ASSERT_EQ(cells.front(), firstCell);
            ASSERT_LT(cells.back(), CellCount);

            // Week numbers: every row whose Thursday lies in this year carries its ISO week;
            // a January row belonging to the previous year stays empty; late December rows
            // keep counting instead of starting again at 1.
            const std::array<int, RowCount> weeks = weekNumbers(date);
            const QDate rowZeroMonday = QDate(y, m, 1).addDays(-firstCell);
            for (int r = 0; r < RowCount; ++r) {
                const QDate thursday = rowZeroMonday.addDays(7 * r + 3);
                int isoYear = 0;
                const int isoWeek = thursday.weekNumber(&isoYear);
                if (thursday.year() == y) {
                    ASSERT_EQ(weeks[r], isoWeek) << "row " << r;
                    ASSERT_EQ(isoYear, y);
                } else if (thursday.year() < y) {
                    ASSERT_EQ(r, 0);
                    ASSERT_EQ(weeks[r], 0);
                } else {
                    ASSERT_EQ(weeks[r], weeks[r - 1] + 1);
                    ASSERT_GE(weeks[r], 53);
                }
            }
        }
    }
}

TEST(CalendarGrid, MonthsNamedAsExamples)
{
    // March 2026 starts on a Sunday: cells 6..36, the last two days under Mo and Di.
    const QDate march(2026, 3, 1);
    EXPECT_EQ(cellOfDay(march, 1), 6);
    EXPECT_EQ(cellOfDay(march, 30), 35);
    EXPECT_EQ(cellOfDay(march, 31), 36);

    const QDate february(2026, 2, 1);
    EXPECT_EQ(cellOfDay(february, 28), 33);
    EXPECT_EQ(dayInCell(february, 34), 0);
    EXPECT_EQ(weekNumbers(february), (std::array<int, 6> { 5, 6, 7, 8, 9, 10 }));

    // 1 January 2027 is a Friday: its row belongs to 2026 and stays empty.
    EXPECT_EQ(weekNumbers(QDate(2027, 1, 1)), (std::array<int, 6> { 0, 1, 2, 3, 4, 5 }));
    // December 2025: no wrap, even for the row that is ISO week 1 of 2026.
    EXPECT_EQ(weekNumbers(QDate(2025, 12, 31)), (std::array<int, 6> { 49, 50, 51, 52, 53, 54 }));
}

TEST(CalendarGrid, HeaderWritesTheDateOut)
{
    EXPECT_EQ(headerText(QDate(2026, 12, 7)), QStringLiteral("07. Dezember 2026"));
    EXPECT_EQ(headerText(QDate(2026, 3, 1)), QStringLiteral("01. März 2026"));
    EXPECT_EQ(headerText(QDate(100, 1, 1)), QStringLiteral("01. Januar 0100"));
}

TEST(CalendarBars, ClampTheDayToTheNewMonth)
{
    EXPECT_EQ(withMonth(QDate(2026, 1, 31), 2), QDate(2026, 2, 28));
    EXPECT_EQ(withMonth(QDate(2024, 1, 31), 2), QDate(2024, 2, 29));
    EXPECT_EQ(withMonth(QDate(2026, 3, 31), 4), QDate(2026, 4, 30));
    EXPECT_EQ(withMonth(QDate(2026, 3, 15), 11), QDate(2026, 11, 15));
    EXPECT_EQ(withYear(QDate(2024, 2, 29), 2025), QDate(2025, 2, 28));
    EXPECT_EQ(withYear(QDate(2024, 2, 29), 2028), QDate(2028, 2, 29));
    EXPECT_EQ(withYear(QDate(2026, 12, 31), 100), QDate(100, 12, 31));
}

TEST(CalendarSteps, StayInsideTheValidRange)
{
    EXPECT_EQ(addDays(QDate(2026, 12, 7), -10), QDate(2026, 11, 27));
    EXPECT_EQ(addDays(QDate(2026, 12, 7), 400), QDate(2028, 1, 11));
    EXPECT_EQ(addDays(QDate(9999, 12, 30), 1), QDate(9999, 12, 31));
    EXPECT_EQ(addDays(QDate(9998, 12, 31), 400), std::nullopt);
    EXPECT_EQ(addDays(QDate(100, 1, 1), 0), QDate(100, 1, 1));
    EXPECT_EQ(addDays(QDate(100, 1, 1), -1), std::nullopt);
    EXPECT_EQ(addDays(QDate(2026, 12, 7), -999999), std::nullopt);

    EXPECT_EQ(difference(QDate(2026, 12, 10), QDate(2026, 12, 1)), -9);
    EXPECT_EQ(difference(QDate(2026, 2, 1), QDate(2026, 3, 1)), 28);
}

TEST(CalendarFields, ReadTheLeadingNumber)
{
    EXPECT_EQ(leadingNumber(QStringLiteral("45")), 45);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("12x")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-10")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("-10"), true), -10);
    // A fraction counts with its whole part, whichever separator is typed.
    EXPECT_EQ(leadingNumber(QStringLiteral("2,7"), true), 2);
    EXPECT_EQ(leadingNumber(QStringLiteral("-2.7"), true), -2);
    // Pasted nonsense must not overflow into a small or negative step.
    EXPECT_GE(leadingNumber(QStringLiteral("99999999999999999999"), true), 1'000'000'000);
}

TEST(CalendarFields, DirectInputNamesAValidDateOrNone)
{
    EXPECT_EQ(directInput(24, 12, 2026), QDate(2026, 12, 24));
    EXPECT_FALSE(directInput(31, 4, 2026).isValid());
    EXPECT_FALSE(directInput(29, 2, 2026).isValid());
    EXPECT_FALSE(directInput(0, 5, 2026).isValid());
    EXPECT_EQ(directInput(29, 2, 2024), QDate(2024, 2, 29));
    EXPECT_EQ(directInput(1, 1, 26), QDate(2026, 1, 1));
    EXPECT_EQ(directInput(1, 1, 75), QDate(1975, 1, 1));
    EXPECT_EQ(directInput(1, 1, 100), QDate(100, 1, 1));
}

TEST(CalendarWeekdaySearch, FindsTheNextAndLastMatch)
{
    WeekdaySearch friday13; // 13th on a Friday, any month, forwards
    EXPECT_EQ(findWeekday(QDate(2026, 12, 7), friday13), QDate(2027, 8, 13));
    // The start itself never matches: 13.08.2027 searches on.
    EXPECT_EQ(findWeekday(QDate(2027, 8, 13), friday13), QDate(2028, 10, 13));

    WeekdaySearch backwards = friday13;
    backwards.direction = -1;
    EXPECT_EQ(findWeekday(QDate(2026, 12, 7), backwards), QDate(2026, 11, 13));

    WeekdaySearch leapDay; // next 29 February that is a Sunday
    leapDay.day = 29;
    leapDay.month = 2;
    leapDay.weekday = 1;
    EXPECT_EQ(findWeekday(QDate(2026, 12, 7), leapDay), QDate(2032, 2, 29));
}

TEST(CalendarWeekdaySearch, StopsAtTheEndOfTheCalendar)
{
    // 31.12.9999 is a Friday; there is no later 31 December on a Saturday.
    WeekdaySearch search;
    search.day = 31;
    search.month = 12;
    search.weekday = 7;
    EXPECT_EQ(findWeekday(QDate(9999, 1, 1), search), std::nullopt);
    search.weekday = 6;
    EXPECT_EQ(findWeekday(QDate(9999, 1, 1), search), QDate(9999, 12, 31));
    search.direction = -1;
    EXPECT_EQ(findWeekday(QDate(100, 1, 1), search), std::nullopt);
}

TEST(CalendarWeekdaySearch, RefusesImpossibleDaysWithTheirMessages)
{
    WeekdaySearch search;
    search.day = 30;
    search.month = 2;
    EXPECT_EQ(impossibleSearch(search),
              QStringLiteral("Der Monat Februar hat maximal\r\n                29 Tage!"));
    search.day = 29;
    EXPECT_EQ(impossibleSearch(search), QString());
    search.day = 31;
    search.month = 9;
    EXPECT_EQ(impossibleSearch(search),
              QStringLiteral("Der Monat September hat nur\r\n            30 Tage!"));
    search.month = 6;
    EXPECT_TRUE(impossibleSearch(search).startsWith(QStringLiteral("Der Monat Juni hat nur\r\n")));
    search.month = 7;
    EXPECT_EQ(impossibleSearch(search), QString());
    search.month = 0;
    EXPECT_EQ(impossibleSearch(search), QString());
    EXPECT_EQ(rangeMessage(),
              QStringLiteral("   Das Datum darf nur zwischen dem\r\n"
                             "01.01.100 und dem 31.12.9999 liegen!"));
}
