#include "calendar/CalendarRules.h"

#include "common/GermanText.h"

namespace CalendarRules {

namespace {
// Sunday = 1 .. Saturday = 7
int sundayFirstWeekday(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}
} // namespace

QDate firstValidDate()
{
    return QDate(100, 1, 1);
}

QDate lastValidDate()
{
    return QDate(9999, 12, 31);
}

bool inRange(const QDate &date)
{
    return date.isValid() && date >= firstValidDate() && date <= lastValidDate();
}

int firstWeekday(const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    return first.dayOfWeek() + 1;
}

int monthLength(int year, int month)
{
    int limit = 28;
    while (limit <= 31 && QDate::isValid(year, month, limit))
        ++limit;
    return limit - 1;
}

int cellOfDay(const QDate &date, int day)
{
    return day + firstWeekday(date) - 3;
}

int dayInCell(const QDate &date, int cell)
{
    const int day = cell - firstWeekday(date) + 3;
    return day >= 1 && day <= monthLength(date.year(), date.month()) ? day : 0;
}

std::array<int, RowCount> weekNumbers(const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    const QDate newYear(date.year(), 1, 1);
    // Weeks counted from Sunday, week 1 holding 1 January ...
    int w = (first.dayOfYear() - 1 + sundayFirstWeekday(newYear) - 1) / 7 + 1;
    // ... but a grid row starts on Monday: a Sunday belongs to the row of the Monday before.
    if (first.dayOfWeek() == Qt::Sunday)
        --w;
    // A year starting on Friday or Saturday has its first days in the previous year's last week.
    if (newYear.dayOfWeek() == Qt::Friday || newYear.dayOfWeek() == Qt::Saturday)
        --w;
    std::array<int, RowCount> rows {};
    for (int r = 0; r < RowCount; ++r)
        rows[r] = w + r;
    return rows;
}

QDate withMonth(const QDate &date, int month)
{
    int day = date.day();
    while (day > 1 && !QDate::isValid(date.year(), month, day))
        --day;
    return QDate(date.year(), month, day);
}

QDate withYear(const QDate &date, int year)
{
    int day = date.day();
    while (day > 1 && !QDate::isValid(year, date.month(), day))
        --day;
    return QDate(year, date.month(), day);
}

std::optional<QDate> addDays(const QDate &date, long long days)
{
    const long long jd = date.toJulianDay() + days;
    if (jd < firstValidDate().toJulianDay() || jd > lastValidDate().toJulianDay())
        return std::nullopt;
    return QDate::fromJulianDay(jd);
}

long long difference(const QDate &first, const QDate &second)
{
    return first.daysTo(second);
}

long long leadingNumber(const QString &text, bool allowSign)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (allowSign && i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    long long n = 0;
    // Fields hold at most six characters; the cap only keeps pasted nonsense from overflowing.
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && n < 1'000'000'000; ++i)
        n = n * 10 + (text[i].unicode() - u'0');
    return negative ? -n : n;
}

int fullYear(int typedYear)
{
    if (typedYear >= 0 && typedYear <= 29)
        return 2000 + typedYear;
    if (typedYear >= 30 && typedYear <= 99)
        return 1900 + typedYear;
    return typedYear;
}

QDate directInput(int day, int month, int typedYear)
{
    const int year = fullYear(typedYear);
    if (!QDate::isValid(year, month, day))
        return {};
    const QDate date(year, month, day);
    return inRange(date) ? date : QDate();
}

QString impossibleSearch(const WeekdaySearch &search)
{
    if (search.month == 2 && search.day >= 30)
        return februaryMessage();
    if (search.day == 31
        && (search.month == 4 || search.month == 6 || search.month == 9 || search.month == 11))
        return thirtyDaysMessage(search.month);
    return {};
}

std::optional<QDate> findWeekday(const QDate &from, const WeekdaySearch &search)
{
    const int step = search.direction < 0 ? -1 : 1;
    for (long long k = step;; k += step) {
        const std::optional<QDate> candidate = addDays(from, k);
        if (!candidate)
            return std::nullopt;
        if (candidate->day() == search.day && sundayFirstWeekday(*candidate) == search.weekday
            && (search.month == 0 || candidate->month() == search.month))
            return candidate;
    }
}

QString rangeMessage()
{
    return QStringLiteral(
        "   Das Datum darf nur zwischen dem\r\n01.01.100 und dem 31.12.9999 liegen!");
}

QString februaryMessage()
{
    return QStringLiteral("Der Monat Februar hat maximal\r\n                29 Tage!");
}

QString thirtyDaysMessage(int month)
{
    return QStringLiteral("Der Monat ") + monthName(month)
        + QStringLiteral(" hat nur\r\n            30 Tage!");
}

QString headerText(const QDate &date)
{
    return QStringLiteral("%1. %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(monthName(date.month()))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace CalendarRules
