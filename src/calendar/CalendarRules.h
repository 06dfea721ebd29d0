#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <optional>

// The date rules of the calendar window, free of widgets so that they can be checked on
// their own. Weekday numbers in the grid count Monday = 2 .. Sunday = 8; the weekday search
// counts Sunday = 1 .. Saturday = 7 like its drop-down list.
namespace CalendarRules {

constexpr int CellCount = 37; // 31 days after a Sunday start need 6 + 31 cells
constexpr int RowCount = 6;

QDate firstValidDate(); // 01.01.0100
QDate lastValidDate(); // 31.12.9999
bool inRange(const QDate &date);

// Weekday of the first of date's month, Monday = 2 .. Sunday = 8.
int firstWeekday(const QDate &date);
// Days of the month, found by probing day 28 upwards as the grid does.
int monthLength(int year, int month);
// Grid cell of a day of date's month: day 1 of a month starting on Monday is cell 0.
int cellOfDay(const QDate &date, int day);
// Day number shown in a cell of date's month, 0 for an empty cell.
int dayInCell(const QDate &date, int cell);

// Week numbers of the six grid rows of date's month; 0 stands for an empty label.
// They match ISO 8601 within the year and keep counting past its end (53, 54).
std::array<int, RowCount> weekNumbers(const QDate &date);

// Moving the month or year bar keeps the day where it exists, else takes the month's last day.
QDate withMonth(const QDate &date, int month);
QDate withYear(const QDate &date, int year);

// date + days, or nothing when the result leaves 01.01.0100 .. 31.12.9999.
std::optional<QDate> addDays(const QDate &date, long long days);

// Days from first to second (negative when second is earlier).
long long difference(const QDate &first, const QDate &second);

// The number formed by the leading digits of a field's text; empty or non-numeric gives 0.
// With allowSign a leading minus is kept. "2,7" and "2.7" give 2.
long long leadingNumber(const QString &text, bool allowSign = false);

// A typed year: one or two digits follow the usual window (0..29 -> 2000s, 30..99 -> 1900s).
int fullYear(int typedYear);
// The date the direct input names, or an invalid date.
QDate directInput(int day, int month, int typedYear);

struct WeekdaySearch
{
    int day = 13; // day of month 1..31
    int month = 0; // 0 = any month, 1..12
    int weekday = 6; // Sunday = 1 .. Saturday = 7
    int direction = 1; // +1 next, -1 last
};
// The message that refuses an impossible day/month pair before searching, or "".
QString impossibleSearch(const WeekdaySearch &search);
// The first matching date after (or before) from; nothing when the search would leave the
// valid range first.
std::optional<QDate> findWeekday(const QDate &from, const WeekdaySearch &search);

// Information messages.
QString rangeMessage();
QString februaryMessage();
QString thirtyDaysMessage(int month);

// Header text, e.g. "07. Dezember 2026".
QString headerText(const QDate &date);

} // namespace CalendarRules
