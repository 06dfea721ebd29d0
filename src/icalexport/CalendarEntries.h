#pragma once

#include "model/Race.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

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

// Adds one race to the plan: a race on or after today becomes an event; an unpaid one adds its
// fee deadlines and payment reminder still ahead. A race whose date is no date is counted, not
// exported.
void planRace(CalendarPlan &plan, const Race &race, const QDate &today);

// "9", "9:30", "09:30" and "09.30" are start times; anything else ("25:00", "", "früh") is not.
QTime parseStartTime(const QString &text);
// Estimated time from the start to the end of a race: an hour plus six minutes a kilometre,
// in half hours; three hours when the distance names no length.
int raceMinutes(const QString &distance);
// A web address as an absolute http(s) URI, or empty when the text is none.
QString webUri(const QString &text);
