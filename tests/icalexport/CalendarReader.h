#pragma once

#include <QMap>
#include <QString>

#include <libical/ical.h>

// An exported calendar read back with libical's parser; the entries by UID.
struct ParsedEvent
{
    QString summary, location, description, url, start, startZone, alarmTrigger;
    int durationSeconds = 0;
    int sequence = -1;
    bool allDay = false;
    QString endDate;
};

struct ParsedCalendar
{
    bool parsed = false;
    bool restrictionsHold = false; // icalrestriction_check
    int errors = -1; // X-LIC-ERROR properties the parser added
    QString zoneId; // TZID of the one VTIMEZONE
    QMap<QString, ParsedEvent> events;
};

ParsedCalendar readCalendar(const QString &path);
