#include "editor/EditorValues.h"

#include <gtest/gtest.h>

// The start time is stored as "hh:mm" from whatever the two boxes hold.
TEST(EditorValues, StartTimePartsAreTwoDigits)
{
    const std::pair<const char *, const char *> cases[] = {
        { "7", "07" },  { " 7", "07" },  { "14", "14" },  { "", "00" },    { "0", "00" },
        { "00", "00" }, { " 55", "55" }, { "7,4", "07" }, { "9.6", "10" }, { "abc", "bc" },
    };
    for (const auto &[typed, stored] : cases)
        EXPECT_EQ(startTimePart(QString::fromLatin1(typed)), QString::fromLatin1(stored)) << typed;
}

// Date labels show a stored date with its weekday and anything else as it is stored; only a
// real date counts as one when the race is saved.
TEST(EditorValues, StoredDatesForTheDateLabels)
{
    struct Case
    {
        const char *stored;
        const char *shown;
        bool isDate;
    };
    const Case cases[] = {
        { "27.09.2026", "27.09.2026, Sonntag", true },
        { "27.09.2026, Sonntag", "27.09.2026, Sonntag", true },
        { "29.02.2024", "29.02.2024, Donnerstag", true },
        { "29.02.2025", "29.02.2025", false },
        { "01.01.1900", "01.01.1900, Montag", true },
        { "Ja", "Ja", false },
        { " ", " ", false },
        { "", "", false },
    };
    for (const Case &c : cases) {
        const QString stored = QString::fromUtf8(c.stored);
        EXPECT_EQ(dateWithWeekdayOrText(stored), QString::fromUtf8(c.shown)) << c.stored;
        EXPECT_EQ(isDateText(stored), c.isDate) << c.stored;
    }
}
