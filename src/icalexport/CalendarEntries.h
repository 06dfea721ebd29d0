#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>

// What the calendar export needs of one race, read as stored.
struct CalendarRace
{
    qlonglong number = 0;
    QString name, place, date, start, distance, finishTime, organiser, web, notes;
    QString feeDistanceName; // the third row of the fee table
    std::array<QString, 3> feeDates; // "bis zum" dates
    // [deadline][distance row]: Marathon, Halb-Marathon, third distance
    std::array<std::array<QString, 3>, 3> fees;
    QString alarmDate, paidDate, registrationDate, bank, bankCode, account;
    bool registered = false, noted = false, run = false, paid = false, alarm = false;
};

// One calendar entry. Times are German local time; an entry without a start time lasts
// whole days.
struct CalendarEntry
{
    enum class Kind { Race, FeeDeadline, PaymentReminder };
    Kind kind = Kind::Race;
    int deadline = 0; // 1..3 for fee deadlines
    qlonglong race = 0;
    QString uid;
    QDate date;
    QTime start; // invalid: all-day
    int minutes = 0; // length of a timed entry
    QString summary, location, description, url;
    bool remindDayBefore = false;
};

struct CalendarPlan
{
    QList<CalendarEntry> entries;
    int races = 0; // races with at least one entry
    int skipped = 0; // races whose date is no date
};

// Every race on or after today becomes an event; unpaid races add their fee deadlines and
// payment reminder still ahead. Races whose date is no date are counted, not exported.
CalendarPlan planCalendar(const QList<CalendarRace> &races, const QDate &today);

// "9", "9:30", "09:30" and "09.30" are start times; anything else ("25:00", "", "früh") is not.
QTime parseStartTime(const QString &text);
// Estimated time from the start to the end of a race: an hour plus six minutes a kilometre,
// in half hours; three hours when the distance names no length.
int raceMinutes(const QString &distance);
// A web address as an absolute http(s) URI, or empty when the text is none.
QString webUri(const QString &text);
