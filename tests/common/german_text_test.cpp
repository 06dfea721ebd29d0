#include "common/GermanText.h"

#include <gtest/gtest.h>

TEST(GermanText, NumbersGetALeadingBlankUnlessNegative)
{
    EXPECT_EQ(numberText(12), QStringLiteral(" 12"));
    EXPECT_EQ(numberText(0), QStringLiteral(" 0"));
    EXPECT_EQ(numberText(-9), QStringLiteral("-9"));
}

TEST(GermanText, DatesAreWrittenAndReadInTheGermanForm)
{
    EXPECT_EQ(formatDate(QDate(2004, 3, 5)), QStringLiteral("05.03.2004"));
    EXPECT_EQ(formatDateWithWeekday(QDate(2026, 12, 8)), QStringLiteral("08.12.2026, Dienstag"));
    EXPECT_EQ(formatDate(QDate(812, 1, 2)), QStringLiteral("02.01.0812"));
    EXPECT_EQ(formatDate(QDate()), QString());
    EXPECT_EQ(weekdayShort(QDate(2026, 12, 13).dayOfWeek()), QStringLiteral("So"));
    EXPECT_EQ(monthName(3), QStringLiteral("März"));

    EXPECT_EQ(parseGermanDate(QStringLiteral("05.03.2004")), QDate(2004, 3, 5));
    EXPECT_EQ(parseGermanDate(QStringLiteral("5.3.2004, Freitag")), QDate(2004, 3, 5));
    EXPECT_EQ(parseGermanDate(QStringLiteral(" 29.02.2024 ")), QDate(2024, 2, 29));
    for (const char *bad :
         { "", " ", "29.02.2023", "05.03.04", "5-3-2004", "aa.bb.cccc", "05.03.2004x", "Ja" })
        EXPECT_FALSE(parseGermanDate(QString::fromUtf8(bad)).isValid()) << bad;
}
